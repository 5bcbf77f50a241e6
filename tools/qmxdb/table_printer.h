// Prints result rows as an aligned text table: a header of column names, a separator line, one
// line per row, then the row count ("(1 row)", "(2 rows)").
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qmxdb {

// Cells as UTF-8 text, one vector per line, in the header's column order.
void printTable(std::ostream& out, const std::vector<std::string>& header,
                const std::vector<std::vector<std::string>>& lines, bool countRows = true);

}  // namespace qmxdb
