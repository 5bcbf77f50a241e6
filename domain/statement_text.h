// The INSERT and UPDATE texts of a record, from the column names in the order of one walk over
// its column values.
#pragma once

#include <string>
#include <vector>

#include "qmxdao/domain/ColumnValueMap.h"

namespace qmxdao {

// "INSERT INTO T (X,Y,Z) VALUES (?,?,?);": every column, "ID" included.
std::wstring insertSql(const std::wstring& table, const std::vector<const wchar_t*>& columns);
// "UPDATE T  SET X = ? ,Y = ?   WHERE ID = ?;": every column but "ID", which is the last
// parameter.
std::wstring updateSql(const std::wstring& table, const std::vector<const wchar_t*>& columns);

// The column names of a map in its own iteration order.
std::vector<const wchar_t*> columnOrder(const QMXDataDomain::ColumnValueMap& values);

}  // namespace qmxdao
