#include "qmxdao/domain/Merchant.h"

#include "domain/merchant_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___MERCHANT_INFO;

const RecordTable<___MERCHANT_INFO>& merchantTable() {
  using Record = ___MERCHANT_INFO;
  static const RecordTable<___MERCHANT_INFO> table(L"MERCHANT_INFO",
                                                   {QMX_MERCHANT_INFO_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___MERCHANT_INFO::___MERCHANT_INFO() : ID(0), DEL_FLAG(0), SUBMIT(0) {}

___MERCHANT_INFO& ___MERCHANT_INFO::operator=(const ___MERCHANT_INFO& other) {
  qmxdao::merchantTable().copyFields(*this, other, {&___MERCHANT_INFO::ID});
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___MERCHANT_INFO, qmxdao::merchantTable())

}  // namespace QMXDataDomain
