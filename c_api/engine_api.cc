// The engine classes over the C boundary: connections, statements and queries as handles.
#include <cwchar>

#include "c_api/boundary.h"
#include "c_api/handles.h"
#include "qmxdao/storage/Utility.h"

using qmxdao::capi::dbOf;
using qmxdao::capi::guarded;
using qmxdao::capi::handOut;
using qmxdao::capi::out;
using qmxdao::capi::queryOf;
using qmxdao::capi::statementOf;
using qmxdao::capi::text;

extern "C" {

QMXDAO_API(qmxdao_status) qmxdao_engine_config(int32_t mode) {
  return guarded([&] { CppSQLite3DB::DBConfig(mode); });
}

QMXDAO_API(qmxdao_status) qmxdao_engine_initialize(void) {
  return guarded([&] { CppSQLite3DB::DBInitialize(); });
}

QMXDAO_API(qmxdao_status) qmxdao_engine_shutdown(void) {
  return guarded([&] { CppSQLite3DB::DBShutdown(); });
}

QMXDAO_API(qmxdao_status) qmxdao_db_new(qmxdao_db** db) {
  return guarded([&] { handOut(std::make_unique<qmxdao_db>(), out(db, L"the handle's place")); });
}

QMXDAO_API(qmxdao_status) qmxdao_db_connection(qmxdao_db** db) {
  return guarded([&] {
    out(db, L"the handle's place");
    auto handle = std::make_unique<qmxdao_db>();
    handle->connection = std::make_unique<QMXDAO::DBConnection>();
    handOut(std::move(handle), db);
  });
}

QMXDAO_API(qmxdao_status) qmxdao_db_free(qmxdao_db* db) {
  return guarded([&] { qmxdao::capi::releaseHandle(&dbOf(db)); });
}

QMXDAO_API(qmxdao_status)
qmxdao_db_open(qmxdao_db* db, const wchar_t* path, size_t path_length, const wchar_t* key,
               size_t key_length) {
  return guarded([&] {
    CppSQLite3DB& connection = dbOf(db).db();
    connection.open(text(path, path_length, L"the path").c_str(),
                    text(key, key_length, L"the key").c_str());
  });
}

QMXDAO_API(qmxdao_status) qmxdao_db_close(qmxdao_db* db) {
  return guarded([&] { dbOf(db).db().close(); });
}

QMXDAO_API(qmxdao_status) qmxdao_db_set_busy_timeout(qmxdao_db* db, int32_t milliseconds) {
  return guarded([&] { dbOf(db).db().setBusyTimeout(milliseconds); });
}

QMXDAO_API(qmxdao_status)
qmxdao_db_exec_dml(qmxdao_db* db, const wchar_t* sql, size_t length, int32_t* changed) {
  return guarded([&] {
    CppSQLite3DB& connection = dbOf(db).db();
    int rows = connection.execDML(text(sql, length, L"the SQL").c_str());
    if (changed != nullptr) *changed = rows;
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_db_exec_query(qmxdao_db* db, const wchar_t* sql, size_t length, qmxdao_query** query) {
  return guarded([&] {
    qmxdao_db& handle = dbOf(db);
    out(query, L"the handle's place");
    CppSQLite3Query made = handle.db().execQuery(text(sql, length, L"the SQL").c_str());
    handOut(std::make_unique<qmxdao_query>(&handle, std::move(made)), query);
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_db_compile_statement(qmxdao_db* db, const wchar_t* sql, size_t length,
                            qmxdao_statement** statement) {
  return guarded([&] {
    qmxdao_db& handle = dbOf(db);
    out(statement, L"the handle's place");
    CppSQLite3Statement made = handle.db().compileStatement(text(sql, length, L"the SQL").c_str());
    handOut(std::make_unique<qmxdao_statement>(&handle, std::move(made)), statement);
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_db_reset_key(qmxdao_db* db, const wchar_t* path, size_t path_length, const wchar_t* key,
                    size_t key_length, const wchar_t* other_key, size_t other_key_length) {
  return guarded([&] {
    CppSQLite3DB& connection = dbOf(db).db();
    connection.resetKey(text(path, path_length, L"the path").c_str(),
                        text(key, key_length, L"the key").c_str(),
                        text(other_key, other_key_length, L"the other key").c_str());
  });
}

QMXDAO_API(qmxdao_status) qmxdao_statement_free(qmxdao_statement* statement) {
  return guarded([&] { qmxdao::capi::releaseHandle(&statementOf(statement)); });
}

QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_int(qmxdao_statement* statement, int32_t param, int32_t value) {
  return guarded([&] { statementOf(statement).statement.bind(param, static_cast<int>(value)); });
}

QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_int64(qmxdao_statement* statement, int32_t param, int64_t value) {
  return guarded(
      [&] { statementOf(statement).statement.bind(param, static_cast<long long>(value)); });
}

QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_double(qmxdao_statement* statement, int32_t param, double value) {
  return guarded([&] { statementOf(statement).statement.bind(param, value); });
}

QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_text(qmxdao_statement* statement, int32_t param, const wchar_t* value,
                           size_t length) {
  return guarded([&] {
    CppSQLite3Statement& compiled = statementOf(statement).statement;
    if (value == nullptr && length == 0)
      return compiled.bind(param, static_cast<const wchar_t*>(nullptr));
    compiled.bind(param, text(value, length, L"the text").c_str());
  });
}

QMXDAO_API(qmxdao_status) qmxdao_statement_bind_null(qmxdao_statement* statement, int32_t param) {
  return guarded(
      [&] { QMXDAO::Utility::sqlite_statement_bind(&statementOf(statement).statement, param); });
}

QMXDAO_API(qmxdao_status)
qmxdao_statement_bind_value(qmxdao_statement* statement, int32_t param, const wchar_t* value,
                            size_t length, int32_t code) {
  return guarded([&] {
    CppSQLite3Statement& compiled = statementOf(statement).statement;
    QMXDAO::Utility::sqlite_statement_bind(
        &compiled, param,
        {text(value, length, L"the value"), static_cast<QMXDataDomain::data_type>(code)});
  });
}

QMXDAO_API(qmxdao_status) qmxdao_statement_exec_dml(qmxdao_statement* statement, int32_t* changed) {
  return guarded([&] {
    int rows = statementOf(statement).statement.execDML();
    if (changed != nullptr) *changed = rows;
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_statement_exec_query(qmxdao_statement* statement, qmxdao_query** query) {
  return guarded([&] {
    qmxdao_statement& handle = statementOf(statement);
    out(query, L"the handle's place");
    CppSQLite3Query made = handle.statement.execQuery();
    handOut(std::make_unique<qmxdao_query>(&handle, std::move(made)), query);
  });
}

QMXDAO_API(qmxdao_status) qmxdao_statement_reset(qmxdao_statement* statement) {
  return guarded([&] { statementOf(statement).statement.reset(); });
}

QMXDAO_API(qmxdao_status) qmxdao_statement_finalize(qmxdao_statement* statement) {
  return guarded([&] { statementOf(statement).statement.finalize(); });
}

QMXDAO_API(qmxdao_status) qmxdao_query_free(qmxdao_query* query) {
  return guarded([&] { qmxdao::capi::releaseHandle(&queryOf(query)); });
}

QMXDAO_API(qmxdao_status) qmxdao_query_eof(qmxdao_query* query, int32_t* eof) {
  return guarded([&] { *out(eof, L"the answer's place") = queryOf(query).query.eof() ? 1 : 0; });
}

QMXDAO_API(qmxdao_status) qmxdao_query_next_row(qmxdao_query* query) {
  return guarded([&] { queryOf(query).query.nextRow(); });
}

QMXDAO_API(qmxdao_status) qmxdao_query_num_fields(qmxdao_query* query, int32_t* count) {
  return guarded([&] { *out(count, L"the answer's place") = queryOf(query).query.numFields(); });
}

QMXDAO_API(qmxdao_status)
qmxdao_query_field_name(qmxdao_query* query, int32_t field, const wchar_t** name, size_t* length) {
  return guarded([&] {
    const wchar_t* value = queryOf(query).query.fieldName(field);
    *out(name, L"the answer's place") = value;
    if (length != nullptr) *length = std::wcslen(value);
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_query_field_value(qmxdao_query* query, int32_t field, const wchar_t** value,
                         size_t* length) {
  return guarded([&] {
    const wchar_t* read = queryOf(query).query.fieldValue(field);
    *out(value, L"the answer's place") = read;
    if (length != nullptr) *length = read != nullptr ? std::wcslen(read) : 0;
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_query_field_is_null(qmxdao_query* query, int32_t field, int32_t* is_null) {
  return guarded([&] {
    *out(is_null, L"the answer's place") = queryOf(query).query.fieldIsNull(field) ? 1 : 0;
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_query_int_field(qmxdao_query* query, int32_t field, int32_t null_value, int32_t* value) {
  return guarded([&] {
    *out(value, L"the answer's place") = queryOf(query).query.getIntField(field, null_value);
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_query_int64_field(qmxdao_query* query, int32_t field, int64_t null_value, int64_t* value) {
  return guarded([&] {
    *out(value, L"the answer's place") = queryOf(query).query.getInt64Field(field, null_value);
  });
}

QMXDAO_API(qmxdao_status)
qmxdao_query_float_field(qmxdao_query* query, int32_t field, double null_value, double* value) {
  return guarded([&] {
    *out(value, L"the answer's place") = queryOf(query).query.getFloatField(field, null_value);
  });
}

QMXDAO_API(qmxdao_status) qmxdao_query_finalize(qmxdao_query* query) {
  return guarded([&] { queryOf(query).query.finalize(); });
}

}  // extern "C"
