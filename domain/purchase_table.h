// The column declaration of ___PURCHASE_INFO, shared by the record and its data-access class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/Purchase.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___PURCHASE_INFO>& purchaseTable();

}  // namespace qmxdao
