#include "qmxdao/domain/ItemType.h"

#include "domain/item_type_table.h"
#include "domain/record_operations.h"

namespace qmxdao {

using QMXDataDomain::___ITEM_TYPE;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

const RecordTable<___ITEM_TYPE>& itemTypeTable() {
  static const RecordTable<___ITEM_TYPE> table(
      L"ITEM_TYPE", {
                        {L"UPDATE_TIME", &___ITEM_TYPE::UPDATE_TIME, type_text},
                        {L"EXT3", &___ITEM_TYPE::EXT3, type_text},
                        {L"SEQ_ID", &___ITEM_TYPE::SEQ_ID, type_text},
                        {L"ORG", &___ITEM_TYPE::ORG, type_text},
                        {L"EXT6", &___ITEM_TYPE::EXT6, type_text},
                        {L"EXT1", &___ITEM_TYPE::EXT1, type_text},
                        {L"EXT2", &___ITEM_TYPE::EXT2, type_text},
                        {L"DEL_FLAG", &___ITEM_TYPE::DEL_FLAG, type_int},
                        {L"EXT5", &___ITEM_TYPE::EXT5, type_text},
                        {L"EXT7", &___ITEM_TYPE::EXT7, type_text},
                        {L"CREATE_TIME", &___ITEM_TYPE::CREATE_TIME, type_text},
                        {L"EXT8", &___ITEM_TYPE::EXT8, type_text},
                        {L"SUBMIT", &___ITEM_TYPE::SUBMIT, type_int},
                        {L"ID", &___ITEM_TYPE::ID, type_int64},
                        {L"EXT4", &___ITEM_TYPE::EXT4, type_text},
                        {L"EXT10", &___ITEM_TYPE::EXT10, type_text},
                        {L"EXT9", &___ITEM_TYPE::EXT9, type_text},
                        {L"TYPE_NAME", &___ITEM_TYPE::TYPE_NAME, type_text},
                    });
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
