#include "qmxdao/dao/ItemQtyDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/item_qty_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___ITEM_QTY;

const qmxdao::RecordDAO<___ITEM_QTY>& itemQuantities() {
  static const qmxdao::RecordDAO<___ITEM_QTY> dao([] {
    auto policy = qmxdao::genericPolicy(qmxdao::itemQtyTable(), DBNAME_MAIN);
    policy.lookupSql = L"select * from ITEM_QTY where  [EXT1]=? and [EXT2]=?";
    policy.keyMembers = {&___ITEM_QTY::EXT1, &___ITEM_QTY::EXT2};
    policy.stamp = qmxdao::NewRecordStamp::kBothTimes;
    policy.newId = qmxdao::NewRecordId::kLargestPlusOne;
    policy.addLine = L"ItemQtyDAOImpl::modify::Add %d条Item %s\n";
    policy.updateLine = L"ItemQtyDAOImpl::modify::Updates %d条Item %s\n";
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(ItemQtyDAOImpl, IItemQtyDAO, ___ITEM_QTY, itemQuantities())

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___ITEM_QTY>;

const qmxdao::RecordDAO<QMXDataDomain::___ITEM_QTY>& qmxdao::recordDao(
    const QMXDataDomain::___ITEM_QTY*) {
  return QMXDAO::itemQuantities();
}
