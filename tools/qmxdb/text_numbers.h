// Numbers in CSV fields: the whole text must be the number (no blanks, no trailing letters), in
// the C locale's notation whatever the process's locale. Reals are written with the shortest
// text that reads back to the same double.
#pragma once

#include <string>

namespace qmxdb {

// An optional '-' or '+' and decimal digits, within 64 bits.
bool parseWholeInteger(const std::string& text, long long& value);
// A decimal or exponent notation such as 2.5, -0.25 or 1e3.
bool parseWholeDouble(const std::string& text, double& value);

// The shortest text that parseWholeDouble reads back to value, with ".0" after a whole number
// (3.141592653589793, 1e-07, 38.0), as the engine marks a real; "Inf" and "-Inf" for the
// infinities, as the engine writes them.
std::string realText(double value);

}  // namespace qmxdb
