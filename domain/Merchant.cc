#include "qmxdao/domain/Merchant.h"

#include "domain/merchant_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___MERCHANT_INFO;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___MERCHANT_INFO>& merchantTable() {
  static const RecordTable<___MERCHANT_INFO> table(
      L"MERCHANT_INFO", {
                            {L"ID", &___MERCHANT_INFO::ID, type_int64},
                            {L"EXT2", &___MERCHANT_INFO::EXT2, type_text},
                            {L"EXT9", &___MERCHANT_INFO::EXT9, type_text},
                            {L"DEL_FLAG", &___MERCHANT_INFO::DEL_FLAG, type_int},
                            {L"QQ", &___MERCHANT_INFO::QQ, type_text},
                            {L"ADDR", &___MERCHANT_INFO::ADDR, type_text},
                            {L"EXT5", &___MERCHANT_INFO::EXT5, type_text},
                            {L"EXT7", &___MERCHANT_INFO::EXT7, type_text},
                            {L"UPDATE_TIME", &___MERCHANT_INFO::UPDATE_TIME, type_text},
                            {L"EXT8", &___MERCHANT_INFO::EXT8, type_text},
                            {L"SUBMIT", &___MERCHANT_INFO::SUBMIT, type_int},
                            {L"EXT3", &___MERCHANT_INFO::EXT3, type_text},
                            {L"TEL", &___MERCHANT_INFO::TEL, type_text},
                            {L"EXT1", &___MERCHANT_INFO::EXT1, type_text},
                            {L"EXT4", &___MERCHANT_INFO::EXT4, type_text},
                            {L"NAME", &___MERCHANT_INFO::NAME, type_text},
                            {L"EXT10", &___MERCHANT_INFO::EXT10, type_text},
                            {L"ORG", &___MERCHANT_INFO::ORG, type_text},
                            {L"CREATE_TIME", &___MERCHANT_INFO::CREATE_TIME, type_text},
                            {L"GUID", &___MERCHANT_INFO::GUID, type_text},
                            {L"CONTACTS", &___MERCHANT_INFO::CONTACTS, type_text},
                            {L"MOBILE", &___MERCHANT_INFO::MOBILE, type_text},
                            {L"EXT6", &___MERCHANT_INFO::EXT6, type_text},
                        });
  return table;
}

}  // namespace qmxdao

namespace QMXDataDomain {

___MERCHANT_INFO::___MERCHANT_INFO() : ID(0), DEL_FLAG(0), SUBMIT(0) {}

___MERCHANT_INFO& ___MERCHANT_INFO::operator=(const ___MERCHANT_INFO& other) {
  qmxdao::merchantTable().copyFields(*this, other, {&___MERCHANT_INFO::ID});
  return *this;
}

QMX_DEFINE_RECORD_OPERATIONS(___MERCHANT_INFO, qmxdao::merchantTable())

}  // namespace QMXDataDomain
