// Utility of the portable layer: each static helper is the library's own, reached through its C
// function; only get_value_wstring, which hands back the caller's own text, is done here.
#pragma once

#include <cstdarg>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "qmxdao/portable/call.h"
#include "qmxdao/storage/CppSQLite3Statement.h"

namespace qmxdao::portable {

using Row = std::map<std::wstring, std::wstring>;

inline int32_t QMXDAO_CALL toRow(void* context, const qmxdao_text* names, const qmxdao_text* values,
                                 size_t count) noexcept {
  try {
    Row row;
    for (size_t i = 0; i < count; ++i) {
      row.emplace_hint(row.end(), std::wstring(names[i].text, names[i].length),
                       std::wstring(values[i].text, values[i].length));
    }
    static_cast<std::vector<Row>*>(context)->push_back(std::move(row));
    return 0;
  } catch (...) {
    return 1;
  }
}

inline int32_t QMXDAO_CALL toTexts(void* context, const wchar_t* text, size_t length) noexcept {
  try {
    static_cast<std::vector<std::wstring>*>(context)->emplace_back(text, length);
    return 0;
  } catch (...) {
    return 1;
  }
}

// Copies a statement into the caller's buffer, which must hold it, as the builders do.
inline bool copyInto(const std::wstring& sql, wchar_t* out) {
  sql.copy(out, sql.size());
  out[sql.size()] = L'\0';
  return true;
}

}  // namespace qmxdao::portable

namespace QMXDAO {

inline void Utility::InitDB() { qmxdao::portable::call(qmxdao_init_db); }
inline void Utility::QuitDB() { qmxdao::portable::call(qmxdao_quit_db); }

inline std::wstring Utility::GetCurrWorkingDir() {
  return qmxdao::portable::callForText(qmxdao_current_working_dir);
}

inline std::wstring Utility::GetDBName(enDBNameType type) {
  return qmxdao::portable::callForText(qmxdao_db_name, static_cast<int32_t>(type));
}

inline void Utility::ResetDBKey(std::wstring, std::wstring, enDBNameType type) {
  qmxdao::portable::call(qmxdao_reset_db_key, static_cast<int32_t>(type));
}

inline int Utility::execDML(std::wstring sql, enDBNameType type) {
  int32_t changed = 0;
  qmxdao::portable::call(qmxdao_exec_dml, sql.data(), sql.size(), static_cast<int32_t>(type),
                         &changed);
  return changed;
}

inline std::vector<std::map<std::wstring, std::wstring>> Utility::SearchBySQL(std::wstring sql,
                                                                              enDBNameType type) {
  std::vector<qmxdao::portable::Row> rows;
  qmxdao::portable::call(qmxdao_search_by_sql, sql.data(), sql.size(), static_cast<int32_t>(type),
                         &qmxdao::portable::toRow, static_cast<void*>(&rows));
  return rows;
}

inline long long Utility::GetItemCount(std::wstring tableName, std::wstring condition,
                                       enDBNameType type) {
  int64_t count = 0;
  qmxdao::portable::call(qmxdao_item_count, tableName.data(), tableName.size(), condition.data(),
                         condition.size(), static_cast<int32_t>(type), &count);
  return count;
}

inline std::wstring Utility::GetDBVersion(enDBNameType type) {
  return qmxdao::portable::callForText(qmxdao_db_version, static_cast<int32_t>(type));
}

inline std::wstring Utility::GetDBVersion(std::wstring path) {
  return qmxdao::portable::callForText(qmxdao_db_version_of_file,
                                       static_cast<const wchar_t*>(path.data()), path.size());
}

inline std::wstring Utility::GetCreateSQLByTableName(std::wstring tableName, enDBNameType type) {
  return qmxdao::portable::callForText(qmxdao_create_sql,
                                       static_cast<const wchar_t*>(tableName.data()),
                                       tableName.size(), static_cast<int32_t>(type));
}

inline std::vector<std::wstring> Utility::GetCreateIndexByTableName(std::wstring tableName,
                                                                    enDBNameType type) {
  std::vector<std::wstring> statements;
  qmxdao::portable::call(qmxdao_create_index_sql, tableName.data(), tableName.size(),
                         static_cast<int32_t>(type), &qmxdao::portable::toTexts,
                         static_cast<void*>(&statements));
  return statements;
}

inline std::wstring Utility::Format(const wchar_t* format, ...) {
  std::wstring text;
  va_list args;
  va_start(args, format);
  qmxdao_status status = qmxdao_format_v(&qmxdao::portable::toWide, &text, format, args);
  va_end(args);
  qmxdao::portable::check(status);
  return text;
}

inline bool Utility::BuildPagerSql(const wchar_t* tableName, int pageSize, int pageNumber,
                                   const wchar_t* orderColumn, bool ascending,
                                   const wchar_t* condition, wchar_t* out) {
  return qmxdao::portable::copyInto(
      qmxdao::portable::callForText(qmxdao_build_pager_sql, tableName, pageSize, pageNumber,
                                    orderColumn, ascending ? 1 : 0, condition),
      out);
}

inline bool Utility::BuildPagerSql(const wchar_t* tableName, int pageSize, int pageNumber,
                                   const wchar_t*, const wchar_t* orderClause,
                                   const wchar_t* condition, wchar_t* out) {
  return qmxdao::portable::copyInto(
      qmxdao::portable::callForText(qmxdao_build_pager_sql_ordered, tableName, pageSize, pageNumber,
                                    orderClause, condition),
      out);
}

inline bool Utility::BuildCountSql(const wchar_t* tableName, const wchar_t* condition,
                                   wchar_t* out) {
  return qmxdao::portable::copyInto(
      qmxdao::portable::callForText(qmxdao_build_count_sql, tableName, condition), out);
}

inline std::wstring Utility::GetNowTime() { return qmxdao::portable::callForText(qmxdao_now_time); }

inline std::wstring& Utility::Trim(std::wstring& text) {
  size_t first = 0;
  size_t count = 0;
  qmxdao::portable::call(qmxdao_trim, static_cast<const wchar_t*>(text.data()), text.size(), &first,
                         &count);
  text = text.substr(first, count);
  return text;
}

inline const wchar_t* Utility::get_value_wstring(std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

inline const char* Utility::get_value_string(std::wstring& text) {
  if (text.empty()) return nullptr;
  thread_local std::string narrow;
  qmxdao::portable::call(qmxdao_value_string, static_cast<const wchar_t*>(text.data()), text.size(),
                         &qmxdao::portable::toNarrow, static_cast<void*>(&narrow));
  return narrow.c_str();
}

inline int Utility::get_value_int(std::wstring& text) {
  int32_t value = 0;
  qmxdao::portable::call(qmxdao_value_int, text.data(), text.size(), &value);
  return value;
}

inline int Utility::get_value_long(std::wstring& text) { return get_value_int(text); }

inline long long Utility::get_value_long_long(std::wstring& text) {
  int64_t value = 0;
  qmxdao::portable::call(qmxdao_value_int64, text.data(), text.size(), &value);
  return value;
}

inline float Utility::get_value_float(std::wstring& text) {
  float value = 0;
  qmxdao::portable::call(qmxdao_value_float, text.data(), text.size(), &value);
  return value;
}

inline double Utility::get_value_double(std::wstring& text) {
  double value = 0;
  qmxdao::portable::call(qmxdao_value_double, text.data(), text.size(), &value);
  return value;
}

inline void Utility::sqlite_statement_bind(
    CppSQLite3Statement* statement, int position,
    std::pair<std::wstring, QMXDataDomain::data_type> value) {
  qmxdao::portable::call(qmxdao_statement_bind_value, qmxdao::portable::Access::handle(*statement),
                         position, value.first.data(), value.first.size(),
                         static_cast<int32_t>(value.second));
}

inline void Utility::sqlite_statement_bind(CppSQLite3Statement* statement, int position) {
  qmxdao::portable::call(qmxdao_statement_bind_null, qmxdao::portable::Access::handle(*statement),
                         position);
}

}  // namespace QMXDAO
