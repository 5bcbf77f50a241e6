// What every function of the C boundary shares: the guard that turns whatever a call throws into a
// status and the thread's last message, the checks of what a host passes in, and the sinks that
// hand texts back. Nothing thrown inside the library crosses the boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>
#include <string>

#include "qmxdao/c_api.h"
#include "qmxdao/storage/CppSQLite3Exception.h"

namespace qmxdao::capi {

// A call the boundary refuses before doing anything: a bad handle, pointer, kind or operation.
class Refused : public std::exception {
 public:
  explicit Refused(std::wstring message) : message_(std::move(message)) {}
  const std::wstring& message() const { return message_; }
  const char* what() const noexcept override { return "refused by the C boundary"; }

 private:
  std::wstring message_;
};

// A sink of the host's that returned non-zero (or threw).
class CallbackFailed : public std::exception {
 public:
  const char* what() const noexcept override { return "a callback stopped the call"; }
};

// Records a failure as the calling thread's last one and gives its status.
qmxdao_status fail(qmxdao_status code, const std::wstring& message);
qmxdao_status failWithCurrentException();

// Runs body; any exception becomes a status.
template <typename Body>
qmxdao_status guarded(Body&& body) noexcept {
  try {
    body();
    return QMXDAO_OK;
  } catch (const CppSQLite3Exception& e) {
    return fail(e.errorCode(), e.errorMessage());
  } catch (const Refused& e) {
    return fail(QMXDAO_REFUSED, e.message());
  } catch (...) {
    return failWithCurrentException();
  }
}

// The host's text as a string: ends at its first NUL; a null pointer is the empty text, but only
// with length 0.
std::wstring text(const wchar_t* pointer, std::size_t length, const wchar_t* what);
// A NUL-terminated text of the host's; null is refused.
const wchar_t* cText(const wchar_t* pointer, const wchar_t* what);
// An output pointer of the host's; null is refused.
template <typename T>
T* out(T* pointer, const wchar_t* what) {
  if (pointer == nullptr) throw Refused(std::wstring(what) + L" is the null pointer");
  return pointer;
}
void needSink(const void* sink);

// Calls a sink of the host's; a non-zero answer or an exception ends the call.
template <typename Sink, typename... Args>
void callSink(Sink sink, Args... args) {
  int32_t answer;
  try {
    answer = sink(args...);
  } catch (...) {
    throw CallbackFailed();
  }
  if (answer != 0) throw CallbackFailed();
}

inline void emitText(qmxdao_text_sink sink, void* context, const std::wstring& value) {
  callSink(sink, context, value.c_str(), value.size());
}

}  // namespace qmxdao::capi
