// The column declaration of ___ITEM_QTY, shared by the record and its data-access class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/ItemQty.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___ITEM_QTY>& itemQtyTable();

}  // namespace qmxdao
