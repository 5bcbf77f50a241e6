#include "qmxdao/domain/Customer.h"

#include "domain/customer_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___CUSTOMER;

const RecordTable<___CUSTOMER>& customerTable() {
  using Record = ___CUSTOMER;
  static const RecordTable<___CUSTOMER> table(L"CUSTOMER",
                                              {QMX_CUSTOMER_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___CUSTOMER::___CUSTOMER() : ID(0), INTEGRAL(0.0f), JAWBONEMONEY(0.0f), SUBMIT(0), DEL_FLAG(0) {}

___CUSTOMER& ___CUSTOMER::operator=(const ___CUSTOMER& other) {
  qmxdao::customerTable().copyFields(*this, other, {&___CUSTOMER::SUBMIT});
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___CUSTOMER, qmxdao::customerTable())

}  // namespace QMXDataDomain
