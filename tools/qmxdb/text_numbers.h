// Numbers in CSV fields: the whole text must be the number (no blanks, no trailing letters), in
// the C locale's notation whatever the process's locale.
#pragma once

#include <string>

namespace qmxdb {

// An optional '-' or '+' and decimal digits, within 64 bits.
bool parseWholeInteger(const std::string& text, long long& value);
// A decimal or exponent notation such as 2.5, -0.25 or 1e3.
bool parseWholeDouble(const std::string& text, double& value);

}  // namespace qmxdb
