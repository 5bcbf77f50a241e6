// The output formats of "qmxdb export": each writer takes the column names once, then the rows'
// cells as UTF-8 text in the same order, and finishes the output at the end.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace qmxdb {

class RowWriter {
 public:
  virtual ~RowWriter() = default;
  virtual void begin(const std::vector<std::string>& columns) = 0;
  virtual void row(const std::vector<std::string>& cells) = 0;
  virtual void end() = 0;
};

// "csv": a header line, then a line per row, as "qmxdb import" reads them.
// "json": an array with an object per row, every value a string (the library returns text).
// "table": an aligned table, as "qmxdb sql" prints it (held in memory until the end).
// Null for any other name.
std::unique_ptr<RowWriter> newRowWriter(const std::string& format, std::ostream& out);

}  // namespace qmxdb
