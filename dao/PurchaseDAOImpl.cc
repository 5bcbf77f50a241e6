#include "qmxdao/dao/PurchaseDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/purchase_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___PURCHASE_INFO;

const qmxdao::RecordDAO<___PURCHASE_INFO>& purchases() {
  static const qmxdao::RecordDAO<___PURCHASE_INFO> dao([] {
    auto policy = qmxdao::genericPolicy(qmxdao::purchaseTable(), DBNAME_MAIN);
    policy.lookupSql = L"select * from PURCHASE_INFO where [RAND_ID]=? and [CREATE_USER]=?";
    policy.keyMembers = {&___PURCHASE_INFO::RAND_ID, &___PURCHASE_INFO::CREATE_USER};
    policy.stamp = qmxdao::NewRecordStamp::kCreateTimeWhenEmpty;
    // A row count plus 1 would repeat a stored ID after any delete; the largest ID plus 1 gives
    // the same numbers while the IDs are 1..n and stays free after deletes.
    policy.newId = qmxdao::NewRecordId::kLargestPlusOne;
    policy.addLine = L"PurchaseDAOImpl::save::Add %d条Item %s\n";
    policy.updateLine = L"PurchaseDAOImpl::save::Updates %d条Item %s\n";
    policy.findByIdFormat = L"select * from  PURCHASE_INFO where [ID] = %I64d;";
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(PurchaseDAOImpl, IPurchaseDAO, ___PURCHASE_INFO, purchases())

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___PURCHASE_INFO>;

const qmxdao::RecordDAO<QMXDataDomain::___PURCHASE_INFO>& qmxdao::recordDao(
    const QMXDataDomain::___PURCHASE_INFO*) {
  return QMXDAO::purchases();
}
