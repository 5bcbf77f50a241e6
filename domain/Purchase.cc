#include "qmxdao/domain/Purchase.h"

#include "domain/purchase_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___PURCHASE_INFO;

const RecordTable<___PURCHASE_INFO>& purchaseTable() {
  using Record = ___PURCHASE_INFO;
  static const RecordTable<___PURCHASE_INFO> table(L"PURCHASE_INFO",
                                                   {QMX_PURCHASE_INFO_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___PURCHASE_INFO::___PURCHASE_INFO()
    : ID(0),
      ITEM_ID(0),
      PURCHASE_NUM(0.0f),
      PUR_PRICE(0.0f),
      PAID_PRICE(0.0f),
      DEBT_PRICE(0.0f),
      TOTAL_PRICE(0.0f),
      SUBMIT(0),
      DEL_FLAG(0) {}

___PURCHASE_INFO& ___PURCHASE_INFO::operator=(const ___PURCHASE_INFO& other) = default;

QMX_DEFINE_RECORD_OPERATIONS(___PURCHASE_INFO, qmxdao::purchaseTable())

}  // namespace QMXDataDomain
