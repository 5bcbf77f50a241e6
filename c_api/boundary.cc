#include "c_api/boundary.h"

#include "storage/text_codec.h"

namespace qmxdao::capi {
namespace {

thread_local std::wstring lastError;

}  // namespace

qmxdao_status fail(qmxdao_status code, const std::wstring& message) {
  try {
    lastError = message;
  } catch (...) {
    lastError.clear();
  }
  return code;
}

qmxdao_status failWithCurrentException() {
  try {
    throw;
  } catch (const CallbackFailed&) {
    return fail(QMXDAO_CALLBACK_FAILED, L"a callback of the caller's stopped the call");
  } catch (const std::bad_alloc&) {
    return fail(QMXDAO_OUT_OF_MEMORY, L"out of memory");
  } catch (const std::exception& e) {
    std::string what = e.what();
    return fail(1, fromUtf8(what));
  } catch (...) {
    return fail(1, L"an unknown failure");
  }
}

std::wstring text(const wchar_t* pointer, std::size_t length, const wchar_t* what) {
  if (pointer == nullptr) {
    if (length != 0) throw Refused(std::wstring(what) + L" is the null pointer with a length");
    return std::wstring();
  }
  std::wstring value(pointer, length);
  std::size_t nul = value.find(L'\0');
  if (nul != std::wstring::npos) value.resize(nul);
  return value;
}

const wchar_t* cText(const wchar_t* pointer, const wchar_t* what) {
  if (pointer == nullptr) throw Refused(std::wstring(what) + L" is the null pointer");
  return pointer;
}

void needSink(const void* sink) {
  if (sink == nullptr) throw Refused(L"the callback is the null pointer");
}

}  // namespace qmxdao::capi

extern "C" {

QMXDAO_API(void) qmxdao_last_error(const wchar_t** message, size_t* length) {
  if (message != nullptr) *message = qmxdao::capi::lastError.c_str();
  if (length != nullptr) *length = qmxdao::capi::lastError.size();
}

QMXDAO_API(uint32_t) qmxdao_version(void) { return QMXDAO_C_API_VERSION; }

QMXDAO_API(qmxdao_status) qmxdao_check_version(uint32_t host_version) {
  if (host_version <= QMXDAO_C_API_VERSION) return QMXDAO_OK;
  return qmxdao::capi::fail(QMXDAO_REFUSED,
                            L"the host was built against version " + std::to_wstring(host_version) +
                                L" of the library's C boundary, and this library has version " +
                                std::to_wstring(QMXDAO_C_API_VERSION) + L": use a newer library");
}

}  // extern "C"
