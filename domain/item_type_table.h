// The column declaration of ___ITEM_TYPE, shared by the record and its data-access class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/ItemType.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___ITEM_TYPE>& itemTypeTable();

}  // namespace qmxdao
