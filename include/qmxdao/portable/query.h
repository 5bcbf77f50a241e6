// CppSQLite3Query of the portable layer: a query handle of the C boundary.
#pragma once

#include <utility>

#include "qmxdao/portable/call.h"

inline CppSQLite3Query::CppSQLite3Query() = default;
inline CppSQLite3Query::CppSQLite3Query(qmxdao_query* handle) : handle_(handle) {}
inline CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}
inline CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) qmxdao_query_free(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}
inline CppSQLite3Query::~CppSQLite3Query() {
  if (handle_ != nullptr) qmxdao_query_free(handle_);
}

inline bool CppSQLite3Query::eof() const {
  if (handle_ == nullptr) return true;  // as a query that never ran
  int32_t eof = 1;
  qmxdao::portable::call(qmxdao_query_eof, handle_, &eof);
  return eof != 0;
}

inline void CppSQLite3Query::nextRow() { qmxdao::portable::call(qmxdao_query_next_row, handle_); }

inline int CppSQLite3Query::numFields() const {
  if (handle_ == nullptr) return 0;
  int32_t count = 0;
  qmxdao::portable::call(qmxdao_query_num_fields, handle_, &count);
  return count;
}

inline const wchar_t* CppSQLite3Query::fieldName(int field) const {
  const wchar_t* name = nullptr;
  qmxdao::portable::call(qmxdao_query_field_name, handle_, field, &name,
                         static_cast<size_t*>(nullptr));
  return name;
}

inline const wchar_t* CppSQLite3Query::fieldValue(int field) {
  const wchar_t* value = nullptr;
  qmxdao::portable::call(qmxdao_query_field_value, handle_, field, &value,
                         static_cast<size_t*>(nullptr));
  return value;
}

inline bool CppSQLite3Query::fieldIsNull(int field) const {
  int32_t isNull = 0;
  qmxdao::portable::call(qmxdao_query_field_is_null, handle_, field, &isNull);
  return isNull != 0;
}

inline const wchar_t* CppSQLite3Query::getStringField(int field, const wchar_t* nullValue) {
  const wchar_t* value = fieldValue(field);
  return value != nullptr ? value : nullValue;
}

inline int CppSQLite3Query::getIntField(int field, int nullValue) const {
  int32_t value = 0;
  qmxdao::portable::call(qmxdao_query_int_field, handle_, field, nullValue, &value);
  return value;
}

inline long long CppSQLite3Query::getInt64Field(int field, long long nullValue) const {
  int64_t value = 0;
  qmxdao::portable::call(qmxdao_query_int64_field, handle_, field, static_cast<int64_t>(nullValue),
                         &value);
  return value;
}

inline double CppSQLite3Query::getFloatField(int field, double nullValue) const {
  double value = 0;
  qmxdao::portable::call(qmxdao_query_float_field, handle_, field, nullValue, &value);
  return value;
}

inline void CppSQLite3Query::finalize() {
  if (handle_ != nullptr) qmxdao::portable::call(qmxdao_query_finalize, handle_);
}
