#include "qmxdao/domain/ItemQty.h"

#include "domain/item_qty_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___ITEM_QTY;
using QMXDataDomain::type_float;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___ITEM_QTY>& itemQtyTable() {
  static const RecordTable<___ITEM_QTY> table(
      L"ITEM_QTY", {
                       {L"SUBMIT", &___ITEM_QTY::SUBMIT, type_int},
                       {L"STORAGE_ID", &___ITEM_QTY::STORAGE_ID, type_int},
                       {L"EXT8", &___ITEM_QTY::EXT8, type_text},
                       {L"PUR_RETURN", &___ITEM_QTY::PUR_RETURN, type_float},
                       {L"PUR_RAND_ID", &___ITEM_QTY::PUR_RAND_ID, type_text},
                       {L"EXT2", &___ITEM_QTY::EXT2, type_text},
                       {L"QTY", &___ITEM_QTY::QTY, type_float},
                       {L"ID", &___ITEM_QTY::ID, type_int64},
                       {L"SALE_RETURN", &___ITEM_QTY::SALE_RETURN, type_float},
                       {L"EXT7", &___ITEM_QTY::EXT7, type_text},
                       {L"EXT1", &___ITEM_QTY::EXT1, type_text},
                       {L"EXT3", &___ITEM_QTY::EXT3, type_text},
                       {L"UPDATE_TIME", &___ITEM_QTY::UPDATE_TIME, type_text},
                       {L"EXT6", &___ITEM_QTY::EXT6, type_text},
                       {L"EXT4", &___ITEM_QTY::EXT4, type_text},
                       {L"CREATE_TIME", &___ITEM_QTY::CREATE_TIME, type_text},
                       {L"SALE_DAY_AVE", &___ITEM_QTY::SALE_DAY_AVE, type_float},
                       {L"EXT9", &___ITEM_QTY::EXT9, type_text},
                       {L"EXT5", &___ITEM_QTY::EXT5, type_text},
                       {L"EXT10", &___ITEM_QTY::EXT10, type_text},
                       {L"ITEM_ID", &___ITEM_QTY::ITEM_ID, type_int},
                       {L"PUR_NUM", &___ITEM_QTY::PUR_NUM, type_float},
                       {L"DEL_FLAG", &___ITEM_QTY::DEL_FLAG, type_int},
                       {L"SALE_NUM", &___ITEM_QTY::SALE_NUM, type_float},
                   });
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
