#include "domain/statement_text.h"

#include <cwchar>

namespace qmxdao {

std::wstring insertSql(const std::wstring& table, const std::vector<const wchar_t*>& columns) {
  std::wstring names;
  std::wstring marks;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    bool last = i + 1 == columns.size();
    names += columns[i];
    if (!last) names += L",";
    marks += last ? L"?" : L"?,";
  }
  return L"INSERT INTO " + table + L" (" + names + L") VALUES (" + marks + L");";
}

std::wstring updateSql(const std::wstring& table, const std::vector<const wchar_t*>& columns) {
  std::wstring assignments;
  for (const wchar_t* column : columns) {
    if (std::wcscmp(column, L"ID") == 0) continue;
    if (!assignments.empty()) assignments += L",";
    assignments += column;
    assignments += L" = ? ";
  }
  return L"UPDATE " + table + L"  SET " + assignments + L"  WHERE ID = ?;";
}

std::vector<const wchar_t*> columnOrder(const QMXDataDomain::ColumnValueMap& values) {
  std::vector<const wchar_t*> columns;
  columns.reserve(values.size());
  for (const auto& entry : values) columns.push_back(entry.first.c_str());
  return columns;
}

}  // namespace qmxdao
