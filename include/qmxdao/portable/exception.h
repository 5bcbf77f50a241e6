// CppSQLite3Exception of the portable layer: thrown and caught in the host's own code.
#pragma once

#include <string>

#include "qmxdao/c_api.h"

namespace qmxdao::portable {

inline int32_t QMXDAO_CALL toNarrow(void* context, const char* text, size_t length) noexcept {
  try {
    static_cast<std::string*>(context)->assign(text != nullptr ? text : "", length);
    return 0;
  } catch (...) {
    return 1;
  }
}

// "code: message" in UTF-8, as the library writes it.
inline std::string whatText(int errorCode, const std::wstring& errorMessage) {
  std::string message;
  if (qmxdao_readable_utf8(errorMessage.data(), errorMessage.size(), &toNarrow, &message) !=
      QMXDAO_OK) {
    message = "?";
  }
  return std::to_string(errorCode) + ": " + message;
}

}  // namespace qmxdao::portable

inline CppSQLite3Exception::CppSQLite3Exception(int errorCode, const std::wstring& errorMessage)
    : errorCode_(errorCode),
      errorMessage_(errorMessage),
      what_(qmxdao::portable::whatText(errorCode, errorMessage)) {}

inline CppSQLite3Exception::CppSQLite3Exception(const CppSQLite3Exception& other) = default;
inline CppSQLite3Exception& CppSQLite3Exception::operator=(const CppSQLite3Exception& other) =
    default;
inline CppSQLite3Exception::~CppSQLite3Exception() = default;
