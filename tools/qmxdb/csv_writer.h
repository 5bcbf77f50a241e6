// Writing CSV rows that readCsv reads back to the same fields: a field is quoted when it holds a
// comma, a quote or a line break (its quotes doubled), and a row made of one empty field is
// written as "" so that it is not taken for a blank line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qmxdb {

void writeCsvRow(std::ostream& out, const std::vector<std::string>& fields);

}  // namespace qmxdb
