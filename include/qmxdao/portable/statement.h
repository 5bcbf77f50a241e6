// CppSQLite3Statement of the portable layer: a statement handle of the C boundary.
#pragma once

#include <utility>

#include "qmxdao/portable/call.h"

inline CppSQLite3Statement::CppSQLite3Statement() = default;
inline CppSQLite3Statement::CppSQLite3Statement(qmxdao_statement* handle) : handle_(handle) {}
inline CppSQLite3Statement::CppSQLite3Statement(CppSQLite3Statement&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}
inline CppSQLite3Statement& CppSQLite3Statement::operator=(CppSQLite3Statement&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) qmxdao_statement_free(handle_);
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}
inline CppSQLite3Statement::~CppSQLite3Statement() {
  if (handle_ != nullptr) qmxdao_statement_free(handle_);
}

inline void CppSQLite3Statement::bind(int param, int value) {
  qmxdao::portable::call(qmxdao_statement_bind_int, handle_, param, value);
}
inline void CppSQLite3Statement::bind(int param, long long value) {
  qmxdao::portable::call(qmxdao_statement_bind_int64, handle_, param, static_cast<int64_t>(value));
}
inline void CppSQLite3Statement::bind(int param, double value) {
  qmxdao::portable::call(qmxdao_statement_bind_double, handle_, param, value);
}
inline void CppSQLite3Statement::bind(int param, const wchar_t* value) {
  qmxdao::portable::call(qmxdao_statement_bind_text, handle_, param, value,
                         qmxdao::portable::lengthOf(value));
}
inline void CppSQLite3Statement::bindNull(int param) {
  qmxdao::portable::call(qmxdao_statement_bind_null, handle_, param);
}

inline int CppSQLite3Statement::execDML() {
  int32_t changed = 0;
  qmxdao::portable::call(qmxdao_statement_exec_dml, handle_, &changed);
  return changed;
}

inline CppSQLite3Query CppSQLite3Statement::execQuery() {
  qmxdao_query* query = nullptr;
  qmxdao::portable::call(qmxdao_statement_exec_query, handle_, &query);
  return qmxdao::portable::Access::adopt<CppSQLite3Query>(query);
}

inline void CppSQLite3Statement::reset() {
  qmxdao::portable::call(qmxdao_statement_reset, handle_);
}

inline void CppSQLite3Statement::finalize() {
  if (handle_ != nullptr) qmxdao::portable::call(qmxdao_statement_finalize, handle_);
}
