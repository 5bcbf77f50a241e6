#include "qmxdao/domain/Item.h"

#include "domain/item_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___ITEM;

const RecordTable<___ITEM>& itemTable() {
  using Record = ___ITEM;
  static const RecordTable<___ITEM> table(L"ITEM", {QMX_ITEM_COLUMNS(QMX_TABLE_COLUMN)});
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___ITEM::___ITEM()
    : ID(0),
      PUR_PRICE(0.0f),
      SALE_PRICE(0.0f),
      MEM_PRICE(0.0f),
      DISCOUNT_RATE(0.0f),
      SUBMIT(0),
      ITEM_TYPE_ID(0),
      DEL_FLAG(0),
      ERRCOUNT(0) {}

___ITEM& ___ITEM::operator=(const ___ITEM& other) {
  qmxdao::itemTable().copyFields(*this, other, {&___ITEM::ID, &___ITEM::REMARK});
  // An item saved without a remark keeps the one already stored.
  if (!other.REMARK.empty()) REMARK = other.REMARK;
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___ITEM, qmxdao::itemTable())

}  // namespace QMXDataDomain
