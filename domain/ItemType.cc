#include "qmxdao/domain/ItemType.h"

#include "domain/item_type_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___ITEM_TYPE;

const RecordTable<___ITEM_TYPE>& itemTypeTable() {
  using Record = ___ITEM_TYPE;
  static const RecordTable<___ITEM_TYPE> table(L"ITEM_TYPE",
                                               {QMX_ITEM_TYPE_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___ITEM_TYPE::___ITEM_TYPE() : ID(0), DEL_FLAG(0), SUBMIT(0) {}

___ITEM_TYPE& ___ITEM_TYPE::operator=(const ___ITEM_TYPE& other) {
  qmxdao::itemTypeTable().copyFields(*this, other);
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___ITEM_TYPE, qmxdao::itemTypeTable())

}  // namespace QMXDataDomain
