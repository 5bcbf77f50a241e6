#include "qmxdao/domain/User.h"

#include "domain/record_operations.h"
#include "domain/user_table.h"

namespace qmxdao {

using QMXDataDomain::___USER;

const RecordTable<___USER>& userTable() {
  using Record = ___USER;
  static const RecordTable<___USER> table(L"USER", {QMX_USER_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___USER::___USER() : STATIONTYPE(0), DEL_FLAG(0), ID(0), STATION_TYPE(0) {}

___USER& ___USER::operator=(const ___USER& other) {
  qmxdao::userTable().copyFields(*this, other, {&___USER::ID});
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___USER, qmxdao::userTable())

}  // namespace QMXDataDomain
