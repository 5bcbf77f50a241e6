// The output formats of "qmxdb export" and "qmxdb sql": each writer takes the column names once,
// then the rows' cells in the same order, and finishes the output at the end.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "tools/qmxdb/query_rows.h"

class CppSQLite3DB;

namespace qmxdb {

class RowWriter {
 public:
  virtual ~RowWriter() = default;
  virtual void begin(const std::vector<std::string>& columns) = 0;
  virtual void row(const std::vector<Cell>& cells) = 0;
  virtual void end() = 0;
};

// "csv": a header line, then a line per row, as "qmxdb import" reads them; NULL is empty.
// "json": an array with an object per row, its members in column order: integers and reals as
// numbers, NULL as null, text as strings.
// "table": an aligned table, as "qmxdb sql" prints it (held in memory until the end).
// Null for any other name.
std::unique_ptr<RowWriter> newRowWriter(const std::string& format, std::ostream& out);

// Writes the columns and rows of a query on db, from begin to end.
void writeQueryRows(CppSQLite3DB& db, const std::wstring& sql, RowWriter& writer);

}  // namespace qmxdb
