#include "qmxdao/storage/CppSQLite3Exception.h"

#include "storage/text_codec.h"

CppSQLite3Exception::CppSQLite3Exception(int errorCode, const std::wstring& errorMessage)
    : errorCode_(errorCode),
      errorMessage_(errorMessage),
      what_(std::to_string(errorCode) + ": " + qmxdao::toReadableUtf8(errorMessage)) {}

CppSQLite3Exception::CppSQLite3Exception(const CppSQLite3Exception& other) = default;
CppSQLite3Exception& CppSQLite3Exception::operator=(const CppSQLite3Exception& other) = default;
CppSQLite3Exception::~CppSQLite3Exception() = default;
