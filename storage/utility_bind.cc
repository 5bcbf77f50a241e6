// Utility: binding one column value by its data_type code.
#include <cwchar>

#include "qmxdao/storage/CppSQLite3Statement.h"
#include "qmxdao/storage/Utility.h"

namespace QMXDAO {

void Utility::sqlite_statement_bind(CppSQLite3Statement* statement, int position,
                                    std::pair<std::wstring, QMXDataDomain::data_type> value) {
  std::wstring& text = value.first;
  switch (value.second) {
    case QMXDataDomain::type_int:
      statement->bind(position, get_value_int(text));
      break;
    case QMXDataDomain::type_int64:
      statement->bind(position, get_value_long_long(text));
      break;
    case QMXDataDomain::type_float:
      statement->bind(position, get_value_double(text));
      break;
    case QMXDataDomain::type_text:
      statement->bind(position, get_value_wstring(text));  // the empty text stores NULL
      break;
    default:
      break;  // codes without a rule leave the parameter unbound
  }
}

void Utility::sqlite_statement_bind(CppSQLite3Statement* statement, int position) {
  statement->bindNull(position);
}

}  // namespace QMXDAO
