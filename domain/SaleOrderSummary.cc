#include "qmxdao/domain/SaleOrderSummary.h"

#include "domain/record_operations.h"
#include "domain/sale_order_summary_table.h"

namespace qmxdao {

using QMXDataDomain::___SALE_ORDER_SUMMARY;
using QMXDataDomain::type_float;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___SALE_ORDER_SUMMARY>& saleOrderSummaryTable() {
  static const RecordTable<___SALE_ORDER_SUMMARY> table(
      L"SALE_ORDER_SUMMARY",
      {
          {L"SALE_SUM_NUM", &___SALE_ORDER_SUMMARY::SALE_SUM_NUM, type_float},
          {L"UPDATE_TIME", &___SALE_ORDER_SUMMARY::UPDATE_TIME, type_text},
          {L"STATUS", &___SALE_ORDER_SUMMARY::STATUS, type_int},
          {L"CREATE_TIME", &___SALE_ORDER_SUMMARY::CREATE_TIME, type_text},
          {L"TOTAL_PRICE", &___SALE_ORDER_SUMMARY::TOTAL_PRICE, type_float},
          {L"INTEGRAL", &___SALE_ORDER_SUMMARY::INTEGRAL, type_int},
          {L"CUSTOMER_ID", &___SALE_ORDER_SUMMARY::CUSTOMER_ID, type_text},
          {L"RETURN_TOTAL_PRICE", &___SALE_ORDER_SUMMARY::RETURN_TOTAL_PRICE, type_float},
          {L"EXT3", &___SALE_ORDER_SUMMARY::EXT3, type_text},
          {L"EXT8", &___SALE_ORDER_SUMMARY::EXT8, type_text},
          {L"RELIEF_PRICE", &___SALE_ORDER_SUMMARY::RELIEF_PRICE, type_float},
          {L"CREATE_USER", &___SALE_ORDER_SUMMARY::CREATE_USER, type_text},
          {L"EXT9", &___SALE_ORDER_SUMMARY::EXT9, type_text},
          {L"FALSE_TRADE", &___SALE_ORDER_SUMMARY::FALSE_TRADE, type_text},
          {L"DEL_FLAG", &___SALE_ORDER_SUMMARY::DEL_FLAG, type_int},
          {L"RAND_ID", &___SALE_ORDER_SUMMARY::RAND_ID, type_text},
          {L"EXT2", &___SALE_ORDER_SUMMARY::EXT2, type_text},
          {L"ORIGINAL_RAND_ID", &___SALE_ORDER_SUMMARY::ORIGINAL_RAND_ID, type_text},
          {L"REMARK", &___SALE_ORDER_SUMMARY::REMARK, type_text},
          {L"RETURN_DEBT_PRICE", &___SALE_ORDER_SUMMARY::RETURN_DEBT_PRICE, type_float},
          {L"ORDER_TYPE", &___SALE_ORDER_SUMMARY::ORDER_TYPE, type_text},
          {L"ERRCOUNT", &___SALE_ORDER_SUMMARY::ERRCOUNT, type_int},
          {L"PAID_PRICE", &___SALE_ORDER_SUMMARY::PAID_PRICE, type_float},
          {L"EXT7", &___SALE_ORDER_SUMMARY::EXT7, type_text},
          {L"RETURN_RELIEF_PRICE", &___SALE_ORDER_SUMMARY::RETURN_RELIEF_PRICE, type_float},
          {L"UPDATE_USER", &___SALE_ORDER_SUMMARY::UPDATE_USER, type_text},
          {L"EXT1", &___SALE_ORDER_SUMMARY::EXT1, type_text},
          {L"ORDER_SUMMARY_TYPE", &___SALE_ORDER_SUMMARY::ORDER_SUMMARY_TYPE, type_int},
          {L"RETURN_INTEGRAL", &___SALE_ORDER_SUMMARY::RETURN_INTEGRAL, type_int64},
          {L"EXT6", &___SALE_ORDER_SUMMARY::EXT6, type_text},
          {L"SUBMIT", &___SALE_ORDER_SUMMARY::SUBMIT, type_int},
          {L"EXT10", &___SALE_ORDER_SUMMARY::EXT10, type_text},
          {L"POST_INTEGRAL", &___SALE_ORDER_SUMMARY::POST_INTEGRAL, type_int64},
          {L"ID", &___SALE_ORDER_SUMMARY::ID, type_int64},
          {L"REMOTE_ADDRESS", &___SALE_ORDER_SUMMARY::REMOTE_ADDRESS, type_text},
          {L"RETURN_POST_INTEGRAL", &___SALE_ORDER_SUMMARY::RETURN_POST_INTEGRAL, type_int},
          {L"EXT5", &___SALE_ORDER_SUMMARY::EXT5, type_text},
          {L"SALE_TIME", &___SALE_ORDER_SUMMARY::SALE_TIME, type_text},
          {L"EXT4", &___SALE_ORDER_SUMMARY::EXT4, type_text},
          {L"SALE_SORT_NUM", &___SALE_ORDER_SUMMARY::SALE_SORT_NUM, type_int},
          {L"DEBT_PRICE", &___SALE_ORDER_SUMMARY::DEBT_PRICE, type_float},
          {L"ORG", &___SALE_ORDER_SUMMARY::ORG, type_text},
          {L"SALE_TYPE", &___SALE_ORDER_SUMMARY::SALE_TYPE, type_int},
          {L"SUBMIT_DETAIL", &___SALE_ORDER_SUMMARY::SUBMIT_DETAIL, type_int},
      });
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___SALE_ORDER_SUMMARY::___SALE_ORDER_SUMMARY()
    : ID(0),
      STATUS(0),
      INTEGRAL(0),
      ORDER_SUMMARY_TYPE(0),
      DEL_FLAG(0),
      ERRCOUNT(0),
      SUBMIT(0),
      POST_INTEGRAL(0),
      SALE_SORT_NUM(0),
      SALE_SUM_NUM(0.0f),
      TOTAL_PRICE(0.0f),
      RELIEF_PRICE(0.0f),
      PAID_PRICE(0.0f),
      DEBT_PRICE(0.0f),
      RETURN_TOTAL_PRICE(0.0f),
      RETURN_DEBT_PRICE(0.0f),
      RETURN_RELIEF_PRICE(0.0f),
      RETURN_INTEGRAL(0),
      RETURN_POST_INTEGRAL(0),
      SALE_TYPE(0),
      SUBMIT_DETAIL(0) {}

___SALE_ORDER_SUMMARY& ___SALE_ORDER_SUMMARY::operator=(const ___SALE_ORDER_SUMMARY& other) =
    default;

void ___SALE_ORDER_SUMMARY::setInt64Field(const std::wstring& column, long long value) {
  qmxdao::saleOrderSummaryTable().setInt64(*this, column.c_str(), value);
}

QMX_DEFINE_RECORD_OPERATIONS(___SALE_ORDER_SUMMARY, qmxdao::saleOrderSummaryTable())

}  // namespace QMXDataDomain
