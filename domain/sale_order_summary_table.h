// The column declaration of ___SALE_ORDER_SUMMARY, shared by the record and its data-access
// class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/SaleOrderSummary.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___SALE_ORDER_SUMMARY>& saleOrderSummaryTable();

}  // namespace qmxdao
