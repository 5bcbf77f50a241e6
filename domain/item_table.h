// The column declaration of ___ITEM, shared by the record and its data-access class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/Item.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___ITEM>& itemTable();

}  // namespace qmxdao
