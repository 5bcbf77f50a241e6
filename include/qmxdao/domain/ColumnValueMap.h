// ColumnValueMap: one record's column values, from the exact column name to the value as text
// and its data_type code. A second insertion of a name keeps the first value. The INSERT and
// UPDATE texts of a record and their parameter positions come from one walk over one map.
#pragma once

#include <string>
#include <unordered_map>
#include <utility>

#include "qmxdao/domain/data_type.h"

namespace QMXDataDomain {

using ColumnValue = std::pair<std::wstring, data_type>;
using ColumnValueMap = std::unordered_map<std::wstring, ColumnValue>;

}  // namespace QMXDataDomain
