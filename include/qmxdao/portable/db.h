// CppSQLite3DB of the portable layer: a connection handle of the C boundary.
#pragma once

#include "qmxdao/portable/call.h"

inline CppSQLite3DB::CppSQLite3DB() { qmxdao::portable::call(qmxdao_db_new, &handle_); }
inline CppSQLite3DB::CppSQLite3DB(qmxdao_db* handle) : handle_(handle) {}
inline CppSQLite3DB::~CppSQLite3DB() { qmxdao_db_free(handle_); }

inline void CppSQLite3DB::open(const wchar_t* path, const wchar_t* key) {
  qmxdao::portable::call(qmxdao_db_open, handle_, path, qmxdao::portable::lengthOf(path), key,
                         qmxdao::portable::lengthOf(key));
}

inline void CppSQLite3DB::close() { qmxdao::portable::call(qmxdao_db_close, handle_); }

inline void CppSQLite3DB::setBusyTimeout(int milliseconds) {
  qmxdao::portable::call(qmxdao_db_set_busy_timeout, handle_, milliseconds);
}

inline int CppSQLite3DB::execDML(const wchar_t* sql) {
  int32_t changed = 0;
  qmxdao::portable::call(qmxdao_db_exec_dml, handle_, sql, qmxdao::portable::lengthOf(sql),
                         &changed);
  return changed;
}

inline CppSQLite3Query CppSQLite3DB::execQuery(const wchar_t* sql) {
  qmxdao_query* query = nullptr;
  qmxdao::portable::call(qmxdao_db_exec_query, handle_, sql, qmxdao::portable::lengthOf(sql),
                         &query);
  return qmxdao::portable::Access::adopt<CppSQLite3Query>(query);
}

inline CppSQLite3Statement CppSQLite3DB::compileStatement(const wchar_t* sql) {
  qmxdao_statement* statement = nullptr;
  qmxdao::portable::call(qmxdao_db_compile_statement, handle_, sql, qmxdao::portable::lengthOf(sql),
                         &statement);
  return qmxdao::portable::Access::adopt<CppSQLite3Statement>(statement);
}

inline void CppSQLite3DB::resetKey(const wchar_t* path, const wchar_t* key,
                                   const wchar_t* otherKey) {
  using qmxdao::portable::lengthOf;
  qmxdao::portable::call(qmxdao_db_reset_key, handle_, path, lengthOf(path), key, lengthOf(key),
                         otherKey, lengthOf(otherKey));
}

inline void CppSQLite3DB::DBConfig(int mode) { qmxdao::portable::call(qmxdao_engine_config, mode); }
inline void CppSQLite3DB::DBInitialize() { qmxdao::portable::call(qmxdao_engine_initialize); }
inline void CppSQLite3DB::DBShutdown() { qmxdao::portable::call(qmxdao_engine_shutdown); }
