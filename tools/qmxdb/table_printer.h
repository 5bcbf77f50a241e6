// Prints result rows as an aligned text table: a header of column names, a separator line, one
// line per row, then the row count.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace qmxdb {

using ResultRow = std::map<std::wstring, std::wstring>;

// The columns are those of the first row, in the map's order.
void printTable(std::ostream& out, const std::vector<ResultRow>& rows);

// Cells as UTF-8 text, one vector per line, in the header's column order.
void printTable(std::ostream& out, const std::vector<std::string>& header,
                const std::vector<std::vector<std::string>>& lines);

}  // namespace qmxdb
