#include "qmxdao/domain/ItemQty.h"

#include "domain/item_qty_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___ITEM_QTY;

const RecordTable<___ITEM_QTY>& itemQtyTable() {
  using Record = ___ITEM_QTY;
  static const RecordTable<___ITEM_QTY> table(L"ITEM_QTY",
                                              {QMX_ITEM_QTY_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___ITEM_QTY::___ITEM_QTY()
    : SUBMIT(0),
      STORAGE_ID(0),
      PUR_RETURN(0.0f),
      QTY(0.0f),
      ID(0),
      SALE_RETURN(0.0f),
      SALE_DAY_AVE(0.0f),
      ITEM_ID(0),
      PUR_NUM(0.0f),
      DEL_FLAG(0),
      SALE_NUM(0.0f) {}

___ITEM_QTY& ___ITEM_QTY::operator=(const ___ITEM_QTY& other) {
  qmxdao::itemQtyTable().copyFields(*this, other, {&___ITEM_QTY::ID});
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___ITEM_QTY, qmxdao::itemQtyTable())

}  // namespace QMXDataDomain
