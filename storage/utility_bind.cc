// Binding one column value by its data_type code.
#include <cwchar>

#include "qmxdao/storage/CppSQLite3Statement.h"
#include "qmxdao/storage/Utility.h"
#include "storage/column_binding.h"
#include "storage/text_numbers.h"

namespace qmxdao {

void bindColumnValue(CppSQLite3Statement& statement, int position, const std::wstring& text,
                     QMXDataDomain::data_type code) {
  switch (code) {
    case QMXDataDomain::type_int:
      statement.bind(position, toInt32(text));
      break;
    case QMXDataDomain::type_int64:
      statement.bind(position, toInt64(text));
      break;
    case QMXDataDomain::type_float:
      statement.bind(position, toDouble(text));
      break;
    case QMXDataDomain::type_text:
      if (text.empty()) {
        statement.bindNull(position);  // "" stores NULL
      } else {
        bindText(statement, position, text.data(), text.size());
      }
      break;
    default:
      break;  // codes without a rule leave the parameter unbound
  }
}

}  // namespace qmxdao

namespace QMXDAO {

void Utility::sqlite_statement_bind(CppSQLite3Statement* statement, int position,
                                    std::pair<std::wstring, QMXDataDomain::data_type> value) {
  qmxdao::bindColumnValue(*statement, position, value.first, value.second);
}

void Utility::sqlite_statement_bind(CppSQLite3Statement* statement, int position) {
  statement->bindNull(position);
}

}  // namespace QMXDAO
