#include "qmxdao/domain/Purchase.h"

#include "domain/purchase_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___PURCHASE_INFO;
using QMXDataDomain::type_float;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___PURCHASE_INFO>& purchaseTable() {
  static const RecordTable<___PURCHASE_INFO> table(
      L"PURCHASE_INFO", {
                            {L"PURCHASE_TIME", &___PURCHASE_INFO::PURCHASE_TIME, type_text},
                            {L"REMARK", &___PURCHASE_INFO::REMARK, type_text},
                            {L"PUR_PRICE", &___PURCHASE_INFO::PUR_PRICE, type_float},
                            {L"EXT1", &___PURCHASE_INFO::EXT1, type_text},
                            {L"READONLY", &___PURCHASE_INFO::READONLY, type_text},
                            {L"EXT10", &___PURCHASE_INFO::EXT10, type_text},
                            {L"EXT4", &___PURCHASE_INFO::EXT4, type_text},
                            {L"EXT9", &___PURCHASE_INFO::EXT9, type_text},
                            {L"ID", &___PURCHASE_INFO::ID, type_int64},
                            {L"PACHAGETYPE", &___PURCHASE_INFO::PACHAGETYPE, type_text},
                            {L"EXT3", &___PURCHASE_INFO::EXT3, type_text},
                            {L"EXT2", &___PURCHASE_INFO::EXT2, type_text},
                            {L"CREATE_TIME", &___PURCHASE_INFO::CREATE_TIME, type_text},
                            {L"ITEM_ID", &___PURCHASE_INFO::ITEM_ID, type_int},
                            {L"DEL_FLAG", &___PURCHASE_INFO::DEL_FLAG, type_int},
                            {L"EXT7", &___PURCHASE_INFO::EXT7, type_text},
                            {L"POS", &___PURCHASE_INFO::POS, type_text},
                            {L"EXT6", &___PURCHASE_INFO::EXT6, type_text},
                            {L"MERCHANT_NAME", &___PURCHASE_INFO::MERCHANT_NAME, type_text},
                            {L"SUBMIT", &___PURCHASE_INFO::SUBMIT, type_int},
                            {L"UPDATE_TIME", &___PURCHASE_INFO::UPDATE_TIME, type_text},
                            {L"TOTAL_PRICE", &___PURCHASE_INFO::TOTAL_PRICE, type_float},
                            {L"EXT8", &___PURCHASE_INFO::EXT8, type_text},
                            {L"RAND_ID", &___PURCHASE_INFO::RAND_ID, type_text},
                            {L"EXT5", &___PURCHASE_INFO::EXT5, type_text},
                            {L"MERCHANT_ID", &___PURCHASE_INFO::MERCHANT_ID, type_text},
                            {L"CREATE_USER", &___PURCHASE_INFO::CREATE_USER, type_text},
                            {L"PURCHASE_NUM", &___PURCHASE_INFO::PURCHASE_NUM, type_float},
                            {L"DEBT_PRICE", &___PURCHASE_INFO::DEBT_PRICE, type_float},
                            {L"PAID_PRICE", &___PURCHASE_INFO::PAID_PRICE, type_float},
                            {L"UPC", &___PURCHASE_INFO::UPC, type_text},
                        });
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___PURCHASE_INFO::___PURCHASE_INFO()
    : ID(0),
      ITEM_ID(0),
      PURCHASE_NUM(0.0f),
      PUR_PRICE(0.0f),
      PAID_PRICE(0.0f),
      DEBT_PRICE(0.0f),
      TOTAL_PRICE(0.0f),
      SUBMIT(0),
      DEL_FLAG(0) {}

___PURCHASE_INFO& ___PURCHASE_INFO::operator=(const ___PURCHASE_INFO& other) = default;

QMX_DEFINE_RECORD_OPERATIONS(___PURCHASE_INFO, qmxdao::purchaseTable())

}  // namespace QMXDataDomain
