#include "qmxdao/domain/Item.h"

#include "domain/item_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___ITEM;
using QMXDataDomain::type_float;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___ITEM>& itemTable() {
  static const RecordTable<___ITEM> table(
      L"ITEM", {
                   {L"EXT6", &___ITEM::EXT6, type_text},
                   {L"UPC", &___ITEM::UPC, type_text},
                   {L"PUR_PRICE", &___ITEM::PUR_PRICE, type_float},
                   {L"REMARK", &___ITEM::REMARK, type_text},
                   {L"CREATUSER", &___ITEM::CREATUSER, type_text},
                   {L"ITEM_NAME", &___ITEM::ITEM_NAME, type_text},
                   {L"EXT9", &___ITEM::EXT9, type_text},
                   {L"MERCHANT_ID", &___ITEM::MERCHANT_ID, type_text},
                   {L"DEL_FLAG", &___ITEM::DEL_FLAG, type_int},
                   {L"EXT4", &___ITEM::EXT4, type_text},
                   {L"UPDATE_TIME", &___ITEM::UPDATE_TIME, type_text},
                   {L"EXT3", &___ITEM::EXT3, type_text},
                   {L"PACKAGETYPE", &___ITEM::PACKAGETYPE, type_text},
                   {L"CREATE_TIME", &___ITEM::CREATE_TIME, type_text},
                   {L"STANDART", &___ITEM::STANDART, type_text},
                   {L"EXT8", &___ITEM::EXT8, type_text},
                   {L"ID", &___ITEM::ID, type_int64},
                   {L"TYPEID", &___ITEM::TYPEID, type_text},
                   {L"READONlY", &___ITEM::READONlY, type_text},
                   {L"DISCOUNT_RATE", &___ITEM::DISCOUNT_RATE, type_float},
                   {L"SUBMIT", &___ITEM::SUBMIT, type_int},
                   {L"UNIT_ID", &___ITEM::UNIT_ID, type_text},
                   {L"EXT2", &___ITEM::EXT2, type_text},
                   {L"MEM_PRICE", &___ITEM::MEM_PRICE, type_float},
                   {L"STORE_CODE", &___ITEM::STORE_CODE, type_text},
                   {L"EXT7", &___ITEM::EXT7, type_text},
                   {L"ERRCOUNT", &___ITEM::ERRCOUNT, type_int},
                   {L"SALE_PRICE", &___ITEM::SALE_PRICE, type_float},
                   {L"EXT10", &___ITEM::EXT10, type_text},
                   {L"EXT5", &___ITEM::EXT5, type_text},
                   {L"ITEM_TYPE_ID", &___ITEM::ITEM_TYPE_ID, type_int},
                   {L"EXT1", &___ITEM::EXT1, type_text},
                   {L"ORG", &___ITEM::ORG, type_text},
               });
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
