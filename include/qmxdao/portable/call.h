// The portable C++ layer's link to the C boundary: every call goes through call(), which checks
// once that the library is not older than this header and turns a failed status into the
// CppSQLite3Exception that the exported classes throw; and the sinks that copy what the library
// hands back into the host's own strings. A host gets this layer by defining QMXDAO_PORTABLE_API
// before including QMXDAOService.h: the same classes, compiled by the host's own compiler, over
// the C functions alone.
#pragma once

#include <cstddef>
#include <cwchar>
#include <string>

#include "qmxdao/c_api.h"
#include "qmxdao/storage/CppSQLite3Exception.h"

namespace qmxdao::portable {

// Reaches the handles of the engine classes, which keep them private.
struct Access {
  template <typename Object>
  static auto handle(const Object& object) {
    return object.handle_;
  }
  template <typename Object, typename Handle>
  static Object adopt(Handle* handle) {
    return Object(handle);
  }
  template <typename Object, typename Handle>
  static Object* adoptNew(Handle* handle) {
    return new Object(handle);
  }
};

[[noreturn]] inline void throwLastError(qmxdao_status status) {
  const wchar_t* message = nullptr;
  std::size_t length = 0;
  qmxdao_last_error(&message, &length);
  throw CppSQLite3Exception(status, std::wstring(message != nullptr ? message : L"", length));
}

inline void check(qmxdao_status status) {
  if (status != QMXDAO_OK) throwLastError(status);
}

// Throws when the library is older than this header; asks the library once per process.
inline void checkVersion() {
  static const bool versionFits = qmxdao_check_version(QMXDAO_C_API_VERSION) == QMXDAO_OK;
  if (!versionFits) {
    throw CppSQLite3Exception(QMXDAO_REFUSED,
                              L"this program was built against a newer QMXDAOService than the "
                              L"library it loaded: install the library it was built with");
  }
}

// Calls a C function of the library, after the version check.
template <typename Function, typename... Args>
void call(Function function, Args... args) {
  checkVersion();
  check(function(args...));
}

inline std::size_t lengthOf(const wchar_t* text) { return text != nullptr ? std::wcslen(text) : 0; }

// A sink: copies what it is given into the std::wstring at context (toNarrow, beside the exception,
// does the same for a std::string). A failure to copy is reported to the library, which ends the
// call, and never thrown through it.
inline int32_t QMXDAO_CALL toWide(void* context, const wchar_t* text, size_t length) noexcept {
  try {
    static_cast<std::wstring*>(context)->assign(text != nullptr ? text : L"", length);
    return 0;
  } catch (...) {
    return 1;
  }
}

// Runs a C function that hands back one text and returns it.
template <typename Function, typename... Args>
std::wstring callForText(Function function, Args... args) {
  std::wstring text;
  call(function, args..., &toWide, static_cast<void*>(&text));
  return text;
}

}  // namespace qmxdao::portable
