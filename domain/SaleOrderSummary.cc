#include "qmxdao/domain/SaleOrderSummary.h"

#include "domain/record_operations.h"
#include "domain/sale_order_summary_table.h"

namespace qmxdao {

using QMXDataDomain::___SALE_ORDER_SUMMARY;

const RecordTable<___SALE_ORDER_SUMMARY>& saleOrderSummaryTable() {
  using Record = ___SALE_ORDER_SUMMARY;
  static const RecordTable<___SALE_ORDER_SUMMARY> table(
      L"SALE_ORDER_SUMMARY", {QMX_SALE_ORDER_SUMMARY_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___SALE_ORDER_SUMMARY::___SALE_ORDER_SUMMARY()
    : ID(0),
      STATUS(0),
      INTEGRAL(0),
      ORDER_SUMMARY_TYPE(0),
      DEL_FLAG(0),
      ERRCOUNT(0),
      SUBMIT(0),
      POST_INTEGRAL(0),
      SALE_SORT_NUM(0),
      SALE_SUM_NUM(0.0f),
      TOTAL_PRICE(0.0f),
      RELIEF_PRICE(0.0f),
      PAID_PRICE(0.0f),
      DEBT_PRICE(0.0f),
      RETURN_TOTAL_PRICE(0.0f),
      RETURN_DEBT_PRICE(0.0f),
      RETURN_RELIEF_PRICE(0.0f),
      RETURN_INTEGRAL(0),
      RETURN_POST_INTEGRAL(0),
      SALE_TYPE(0),
      SUBMIT_DETAIL(0) {}

___SALE_ORDER_SUMMARY& ___SALE_ORDER_SUMMARY::operator=(const ___SALE_ORDER_SUMMARY& other) =
    default;

void ___SALE_ORDER_SUMMARY::setInt64Field(const std::wstring& column, long long value) {
  qmxdao::saleOrderSummaryTable().setInt64(*this, column.c_str(), value);
}

QMX_DEFINE_RECORD_OPERATIONS(___SALE_ORDER_SUMMARY, qmxdao::saleOrderSummaryTable())

}  // namespace QMXDataDomain
