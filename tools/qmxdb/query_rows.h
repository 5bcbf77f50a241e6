// Rows of a query as the user wrote it: the columns in the query's own order (a table's "*" in
// the table's), each value with its storage class, so that numbers can be written as numbers and
// a real with every digit it needs.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CppSQLite3DB;

namespace qmxdb {

struct Cell {
  enum class Kind { kNull, kInteger, kReal, kText };
  Kind kind = Kind::kNull;
  // UTF-8; for a real the shortest text that reads back to it (realText); empty for NULL.
  std::string text;
};

using ColumnsSink = std::function<void(const std::vector<std::string>& names)>;
using RowSink = std::function<void(const std::vector<Cell>& cells)>;

// Runs sql on db: hands the column names to columns (once, also when there is no row), then each
// row to row. Returns the count of rows. Engine failures leave as CppSQLite3Exception.
std::size_t runQuery(CppSQLite3DB& db, const std::wstring& sql, const ColumnsSink& columns,
                     const RowSink& row);

}  // namespace qmxdb
