#include "qmxdao/dao/ItemTypeDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/item_type_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___ITEM_TYPE;

const qmxdao::RecordDAO<___ITEM_TYPE>& itemTypes() {
  static const qmxdao::RecordDAO<___ITEM_TYPE> dao([] {
    auto policy = qmxdao::genericPolicy(qmxdao::itemTypeTable(), DBNAME_MAIN);
    policy.lookupSql = L"select * from ITEM_TYPE where [SEQ_ID]=? and [ORG]=?";
    policy.keyMembers = {&___ITEM_TYPE::SEQ_ID, &___ITEM_TYPE::ORG};
    policy.stamp = qmxdao::NewRecordStamp::kBothTimes;
    policy.newId = qmxdao::NewRecordId::kTableAssigns;
    policy.addLine = L"ItemTypeDAOImpl::modify::Add %d条Item %s\n";
    policy.updateLine = L"ItemTypeDAOImpl::modify::Updates %d条Item %s\n";
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(ItemTypeDAOImpl, IItemTypeDAO, ___ITEM_TYPE, itemTypes())

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___ITEM_TYPE>;

const qmxdao::RecordDAO<QMXDataDomain::___ITEM_TYPE>& qmxdao::recordDao(
    const QMXDataDomain::___ITEM_TYPE*) {
  return QMXDAO::itemTypes();
}
