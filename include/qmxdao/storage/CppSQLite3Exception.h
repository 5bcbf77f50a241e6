// CppSQLite3Exception: the one error type of the engine layer. Every engine failure (a statement
// the engine rejects, a missing table, a file the key does not open, a busy file whose lock
// outlasts the busy timeout) reaches the caller as this exception, carrying the engine's error
// code and its message as wide text. It is copyable, so callers can catch it and throw a copy on.
#pragma once

#include <exception>
#include <string>

#include "qmxdao/storage/Export.h"

class QMX_EXPORT CppSQLite3Exception : public std::exception {
 public:
  CppSQLite3Exception(int errorCode, const std::wstring& errorMessage);
  CppSQLite3Exception(const CppSQLite3Exception& other);
  CppSQLite3Exception& operator=(const CppSQLite3Exception& other);
  ~CppSQLite3Exception() override;

  // The engine's result code, for example 1 for an SQL error or 26 for "file is encrypted or is
  // not a database".
  int errorCode() const noexcept { return errorCode_; }
  // The engine's message, as wide text.
  const wchar_t* errorMessage() const noexcept { return errorMessage_.c_str(); }
  // "code: message" in UTF-8, for callers that only know std::exception.
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int errorCode_;
  std::wstring errorMessage_;
  std::string what_;
};

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/exception.h"
#endif
