#include "qmxdao/domain/SaleOrder.h"

#include "domain/record_operations.h"
#include "domain/sale_order_table.h"

namespace qmxdao {

using QMXDataDomain::___SALE_ORDER;
using QMXDataDomain::type_float;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___SALE_ORDER>& saleOrderTable() {
  static const RecordTable<___SALE_ORDER> table(
      L"SALE_ORDER", {
                         {L"ORDER_TYPE", &___SALE_ORDER::ORDER_TYPE, type_int},
                         {L"EXT7", &___SALE_ORDER::EXT7, type_text},
                         {L"INTEGRAL_NUM", &___SALE_ORDER::INTEGRAL_NUM, type_int},
                         {L"EXT9", &___SALE_ORDER::EXT9, type_text},
                         {L"PAID_PRICE", &___SALE_ORDER::PAID_PRICE, type_float},
                         {L"UPC", &___SALE_ORDER::UPC, type_text},
                         {L"RAND_ID", &___SALE_ORDER::RAND_ID, type_text},
                         {L"ITEM_SEQ_ID", &___SALE_ORDER::ITEM_SEQ_ID, type_text},
                         {L"SALE_USER", &___SALE_ORDER::SALE_USER, type_text},
                         {L"EXT5", &___SALE_ORDER::EXT5, type_text},
                         {L"ID", &___SALE_ORDER::ID, type_int64},
                         {L"EXT4", &___SALE_ORDER::EXT4, type_text},
                         {L"POST_INTEGRAL", &___SALE_ORDER::POST_INTEGRAL, type_int},
                         {L"UPC_ADD_TYPE", &___SALE_ORDER::UPC_ADD_TYPE, type_int},
                         {L"DISCOUNT_PRICE", &___SALE_ORDER::DISCOUNT_PRICE, type_float},
                         {L"EXT2", &___SALE_ORDER::EXT2, type_text},
                         {L"ORG", &___SALE_ORDER::ORG, type_text},
                         {L"SALE_PROFIT", &___SALE_ORDER::SALE_PROFIT, type_float},
                         {L"SALE_TYPE", &___SALE_ORDER::SALE_TYPE, type_text},
                         {L"RETURN_RAND_ID", &___SALE_ORDER::RETURN_RAND_ID, type_text},
                         {L"EXT10", &___SALE_ORDER::EXT10, type_text},
                         {L"CREATE_TIME", &___SALE_ORDER::CREATE_TIME, type_text},
                         {L"DISCOUNT_RATE", &___SALE_ORDER::DISCOUNT_RATE, type_float},
                         {L"RELIEF_PRICE", &___SALE_ORDER::RELIEF_PRICE, type_float},
                         {L"PUR_PRICE", &___SALE_ORDER::PUR_PRICE, type_float},
                         {L"POS", &___SALE_ORDER::POS, type_text},
                         {L"RETURN_FLAG", &___SALE_ORDER::RETURN_FLAG, type_int},
                         {L"ITEM_ID", &___SALE_ORDER::ITEM_ID, type_int},
                         {L"EXT8", &___SALE_ORDER::EXT8, type_text},
                         {L"PACKAGE_TYPE", &___SALE_ORDER::PACKAGE_TYPE, type_int},
                         {L"SALE_NUM", &___SALE_ORDER::SALE_NUM, type_float},
                         {L"EXT6", &___SALE_ORDER::EXT6, type_text},
                         {L"QTY_ID", &___SALE_ORDER::QTY_ID, type_int},
                         {L"SUBMIT", &___SALE_ORDER::SUBMIT, type_int},
                         {L"UPDATE_TIME", &___SALE_ORDER::UPDATE_TIME, type_text},
                         {L"CUSTOMER", &___SALE_ORDER::CUSTOMER, type_text},
                         {L"EXT1", &___SALE_ORDER::EXT1, type_text},
                         {L"UNIT_ID", &___SALE_ORDER::UNIT_ID, type_text},
                         {L"ERRCOUNT", &___SALE_ORDER::ERRCOUNT, type_int},
                         {L"RETURN_TYPE", &___SALE_ORDER::RETURN_TYPE, type_int},
                         {L"REMARK", &___SALE_ORDER::REMARK, type_text},
                         {L"EXT3", &___SALE_ORDER::EXT3, type_text},
                         {L"SALE_PRICE", &___SALE_ORDER::SALE_PRICE, type_float},
                         {L"DEBT_PRICE", &___SALE_ORDER::DEBT_PRICE, type_float},
                         {L"DEL_FLAG", &___SALE_ORDER::DEL_FLAG, type_int},
                         {L"TOTAL_PRICE", &___SALE_ORDER::TOTAL_PRICE, type_float},
                         {L"SALE_TIME", &___SALE_ORDER::SALE_TIME, type_text},
                         {L"RETURN_SALE_NUM", &___SALE_ORDER::RETURN_SALE_NUM, type_float},
                         {L"CREATE_USER", &___SALE_ORDER::CREATE_USER, type_text},
                     });
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___SALE_ORDER::___SALE_ORDER()
    : ID(0),
      INTEGRAL_NUM(0),
      POST_INTEGRAL(0),
      UPC_ADD_TYPE(0),
      RETURN_FLAG(0),
      ORDER_TYPE(0),
      ITEM_ID(0),
      PACKAGE_TYPE(0),
      QTY_ID(0),
      SUBMIT(0),
      ERRCOUNT(0),
      RETURN_TYPE(0),
      DEL_FLAG(0),
      PAID_PRICE(0.0f),
      DISCOUNT_RATE(0.0f),
      RELIEF_PRICE(0.0f),
      PUR_PRICE(0.0f),
      DISCOUNT_PRICE(0.0f),
      SALE_PROFIT(0.0f),
      SALE_NUM(0.0f),
      SALE_PRICE(0.0f),
      DEBT_PRICE(0.0f),
      TOTAL_PRICE(0.0f),
      RETURN_SALE_NUM(0.0f) {}

___SALE_ORDER& ___SALE_ORDER::operator=(const ___SALE_ORDER& other) = default;

QMX_DEFINE_RECORD_OPERATIONS(___SALE_ORDER, qmxdao::saleOrderTable())

}  // namespace QMXDataDomain
