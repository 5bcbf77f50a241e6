// Binding one column value by its data_type code, without copying the value text.
#pragma once

#include <string>

#include "qmxdao/domain/data_type.h"
#include "qmxdao/storage/CppSQLite3Statement.h"

namespace qmxdao {

// Code 0 binds the text as a 32-bit integer, 3 as a 64-bit integer, 5 as a double, 6 as text
// (the empty text as NULL); any other code binds nothing.
void bindColumnValue(CppSQLite3Statement& statement, int position, const std::wstring& text,
                     QMXDataDomain::data_type code);

}  // namespace qmxdao
