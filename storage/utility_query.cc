// Utility: the application's own SQL, each call on a connection of its own.
#include <cwchar>

#include "qmxdao/storage/Utility.h"
#include "storage/connection.h"

namespace QMXDAO {
namespace {

const wchar_t* orEmpty(const wchar_t* text) { return text != nullptr ? text : L""; }

// Runs a query and hands the text of every field of every row, in order, to visit.
template <typename Visit>
void forEachField(CppSQLite3DB& db, const std::wstring& sql, Visit visit) {
  CppSQLite3Query query = db.execQuery(sql.c_str());
  for (; !query.eof(); query.nextRow()) {
    for (int field = 0; field < query.numFields(); ++field) {
      visit(orEmpty(query.fieldValue(field)));
    }
  }
  query.finalize();
}

// The text of the last field of the last row, the empty text when there is none; closes db.
std::wstring lastField(CppSQLite3DB& db, const std::wstring& sql) {
  std::wstring result;
  forEachField(db, sql, [&](const wchar_t* text) { result = text; });
  db.close();
  return result;
}

const wchar_t kVersionQuery[] = L"SELECT [version] FROM version";

// The creation statement of the table, its name bound as a parameter: any name is looked up as
// it is, quotes included.
template <typename Visit>
void forEachTableSql(CppSQLite3DB& db, const std::wstring& tableName, Visit visit) {
  CppSQLite3Statement statement =
      db.compileStatement(L"select sql from sqlite_master where tbl_name=? and type='table';");
  statement.bind(1, tableName.c_str());
  CppSQLite3Query query = statement.execQuery();
  for (; !query.eof(); query.nextRow()) visit(orEmpty(query.fieldValue(0)));
  query.finalize();
  statement.finalize();
}

}  // namespace

int Utility::execDML(std::wstring sql, enDBNameType type) {
  auto db = qmxdao::openConnection(type, qmxdao::kReadBusyTimeout);
  int changed = db->execDML(sql.c_str());
  db->close();
  return changed;
}

std::vector<std::map<std::wstring, std::wstring>> Utility::SearchBySQL(std::wstring sql,
                                                                       enDBNameType type) {
  std::vector<std::map<std::wstring, std::wstring>> rows;
  if (sql.empty()) return rows;
  auto db = qmxdao::openConnection(type, qmxdao::kReadBusyTimeout);
  CppSQLite3Query query = db->execQuery(sql.c_str());
  while (!query.eof()) {
    std::map<std::wstring, std::wstring> row;
    for (int field = 0; field < query.numFields(); ++field) {
      row.emplace(query.fieldName(field), orEmpty(query.fieldValue(field)));  // first one wins
    }
    rows.push_back(std::move(row));
    query.nextRow();
  }
  query.finalize();
  db->close();
  return rows;
}

long long Utility::GetItemCount(std::wstring tableName, std::wstring condition, enDBNameType type) {
  std::wstring sql = L"select count(*) as c from " + tableName;
  if (!condition.empty()) sql += L" where " + condition + L" ";
  auto db = qmxdao::openConnection(type, qmxdao::kReadBusyTimeout);
  long long count = 0;
  forEachField(*db, sql, [&](const wchar_t* text) { count = std::wcstoll(text, nullptr, 10); });
  db->close();
  return count;
}

std::wstring Utility::GetDBVersion(enDBNameType type) {
  return lastField(*qmxdao::openConnection(type, qmxdao::kReadBusyTimeout), kVersionQuery);
}

// Opens exactly the path given: no "db" folder, no attribute change.
std::wstring Utility::GetDBVersion(std::wstring path) {
  return lastField(*qmxdao::openConnection(path, qmxdao::kReadBusyTimeout), kVersionQuery);
}

std::wstring Utility::GetCreateSQLByTableName(std::wstring tableName, enDBNameType type) {
  auto db = qmxdao::openConnection(type, qmxdao::kReadBusyTimeout);
  std::wstring result;
  forEachTableSql(*db, tableName, [&](const wchar_t* text) { result = text; });
  db->close();
  return result;
}

std::vector<std::wstring> Utility::GetCreateIndexByTableName(std::wstring tableName,
                                                             enDBNameType type) {
  auto db = qmxdao::openConnection(type, qmxdao::kReadBusyTimeout);
  std::vector<std::wstring> result;
  // The same query as GetCreateSQLByTableName, "type='table'" included: it gives the table's
  // creation statement, as callers of this operation have always received.
  forEachTableSql(*db, tableName, [&](const wchar_t* text) { result.push_back(text); });
  db->close();
  return result;
}

}  // namespace QMXDAO
