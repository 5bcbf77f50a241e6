#include "qmxdao/domain/Customer.h"

#include "domain/customer_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___CUSTOMER;
using QMXDataDomain::type_float;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___CUSTOMER>& customerTable() {
  static const RecordTable<___CUSTOMER> table(
      L"CUSTOMER", {
                       {L"UPDATE_TIME", &___CUSTOMER::UPDATE_TIME, type_text},
                       {L"INTEGRAL", &___CUSTOMER::INTEGRAL, type_float},
                       {L"CREATE_USER", &___CUSTOMER::CREATE_USER, type_text},
                       {L"CREATE_TIME", &___CUSTOMER::CREATE_TIME, type_text},
                       {L"JAWBONEMONEY", &___CUSTOMER::JAWBONEMONEY, type_float},
                       {L"TEL", &___CUSTOMER::TEL, type_text},
                       {L"CARDNUM", &___CUSTOMER::CARDNUM, type_text},
                       {L"CUSTOMER_NAME", &___CUSTOMER::CUSTOMER_NAME, type_text},
                       {L"EXT7", &___CUSTOMER::EXT7, type_text},
                       {L"EXT6", &___CUSTOMER::EXT6, type_text},
                       {L"EXT5", &___CUSTOMER::EXT5, type_text},
                       {L"EXT4", &___CUSTOMER::EXT4, type_text},
                       {L"EXT3", &___CUSTOMER::EXT3, type_text},
                       {L"EXT2", &___CUSTOMER::EXT2, type_text},
                       {L"EXT1", &___CUSTOMER::EXT1, type_text},
                       {L"IDCARD", &___CUSTOMER::IDCARD, type_text},
                       {L"EXT9", &___CUSTOMER::EXT9, type_text},
                       {L"EXT8", &___CUSTOMER::EXT8, type_text},
                       {L"ID", &___CUSTOMER::ID, type_int64},
                       {L"SIMPLE_NAME", &___CUSTOMER::SIMPLE_NAME, type_text},
                       {L"ADDR", &___CUSTOMER::ADDR, type_text},
                       {L"MOBILE", &___CUSTOMER::MOBILE, type_text},
                       {L"SUBMIT", &___CUSTOMER::SUBMIT, type_int},
                       {L"EXT10", &___CUSTOMER::EXT10, type_text},
                       {L"DEL_FLAG", &___CUSTOMER::DEL_FLAG, type_int},
                       {L"ORG", &___CUSTOMER::ORG, type_text},
                   });
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___CUSTOMER::___CUSTOMER() : ID(0), INTEGRAL(0.0f), JAWBONEMONEY(0.0f), SUBMIT(0), DEL_FLAG(0) {}

___CUSTOMER& ___CUSTOMER::operator=(const ___CUSTOMER& other) {
  qmxdao::customerTable().copyFields(*this, other, {&___CUSTOMER::SUBMIT});
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___CUSTOMER, qmxdao::customerTable())

}  // namespace QMXDataDomain
