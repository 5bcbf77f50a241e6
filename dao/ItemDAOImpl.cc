#include "qmxdao/dao/ItemDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/item_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___ITEM;

// The fields the application edits: a stored item whose fields all equal the incoming ones is
// not written again. The identifier, the time texts and the two bookkeeping counters do not
// count; a NaN price always differs, so such an item is written on every save.
bool differsFromStored(const ___ITEM& stored, const ___ITEM& incoming) {
  return qmxdao::itemTable().differs(stored, incoming,
                                     {&___ITEM::ID, &___ITEM::CREATE_TIME, &___ITEM::UPDATE_TIME,
                                      &___ITEM::DEL_FLAG, &___ITEM::ERRCOUNT});
}

bool neverDiffers(const ___ITEM&, const ___ITEM&) { return false; }

qmxdao::RecordPolicy<___ITEM> savePolicy() {
  auto policy = qmxdao::genericPolicy(qmxdao::itemTable(), DBNAME_MAIN);
  policy.lookupSql = L"select * from ITEM where  [UPC]=? and [ORG]=?";
  policy.keyMembers = {&___ITEM::UPC, &___ITEM::ORG};
  policy.differsFromStored = differsFromStored;
  policy.stamp = qmxdao::NewRecordStamp::kCreateTimeWhenEmpty;
  policy.newId = qmxdao::NewRecordId::kTableAssigns;
  policy.addLine = L"ItemDAOImpl::save::Add %d条Item %s\n";
  policy.updateLine = L"ItemDAOImpl::save::Updates %d条Item %s\n";
  return policy;
}

const qmxdao::RecordDAO<___ITEM>& items() {
  static const qmxdao::RecordDAO<___ITEM> dao(savePolicy());
  return dao;
}

// modify is the batch save without its update step: a stored item is always dropped, and a new
// one is stamped with both times whatever it brought.
const qmxdao::RecordDAO<___ITEM>& newItemsOnly() {
  static const qmxdao::RecordDAO<___ITEM> dao([] {
    auto policy = savePolicy();
    policy.differsFromStored = neverDiffers;
    policy.stamp = qmxdao::NewRecordStamp::kBothTimes;
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(ItemDAOImpl, IItemDAO, ___ITEM, items())

bool ItemDAOImpl::modify(std::vector<___ITEM> records) {
  return newItemsOnly().save(std::move(records));
}

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___ITEM>;

const qmxdao::RecordDAO<QMXDataDomain::___ITEM>& qmxdao::recordDao(const QMXDataDomain::___ITEM*) {
  return QMXDAO::items();
}
