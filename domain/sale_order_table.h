// The column declaration of ___SALE_ORDER, shared by the record and its data-access class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/SaleOrder.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___SALE_ORDER>& saleOrderTable();

}  // namespace qmxdao
