// Text to number by the usual C rules: leading white space, an optional sign, digits up to the
// first other character; 0 when nothing is read. Integers beyond their range saturate.
#pragma once

#include <string>

namespace qmxdao {

int toInt32(const std::wstring& text);
long long toInt64(const std::wstring& text);
double toDouble(const std::wstring& text);

}  // namespace qmxdao
