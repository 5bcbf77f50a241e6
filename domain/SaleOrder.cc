#include "qmxdao/domain/SaleOrder.h"

#include "domain/record_operations.h"
#include "domain/sale_order_table.h"

namespace qmxdao {

using QMXDataDomain::___SALE_ORDER;

const RecordTable<___SALE_ORDER>& saleOrderTable() {
  using Record = ___SALE_ORDER;
  static const RecordTable<___SALE_ORDER> table(L"SALE_ORDER",
                                                {QMX_SALE_ORDER_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___SALE_ORDER::___SALE_ORDER()
    : ID(0),
      INTEGRAL_NUM(0),
      POST_INTEGRAL(0),
      UPC_ADD_TYPE(0),
      RETURN_FLAG(0),
      ORDER_TYPE(0),
      ITEM_ID(0),
      PACKAGE_TYPE(0),
      QTY_ID(0),
      SUBMIT(0),
      ERRCOUNT(0),
      RETURN_TYPE(0),
      DEL_FLAG(0),
      PAID_PRICE(0.0f),
      DISCOUNT_RATE(0.0f),
      RELIEF_PRICE(0.0f),
      PUR_PRICE(0.0f),
      DISCOUNT_PRICE(0.0f),
      SALE_PROFIT(0.0f),
      SALE_NUM(0.0f),
      SALE_PRICE(0.0f),
      DEBT_PRICE(0.0f),
      TOTAL_PRICE(0.0f),
      RETURN_SALE_NUM(0.0f) {}

___SALE_ORDER& ___SALE_ORDER::operator=(const ___SALE_ORDER& other) = default;

QMX_DEFINE_RECORD_OPERATIONS(___SALE_ORDER, qmxdao::saleOrderTable())

}  // namespace QMXDataDomain
