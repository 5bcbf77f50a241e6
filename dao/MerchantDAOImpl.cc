#include "qmxdao/dao/MerchantDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/merchant_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___MERCHANT_INFO;

const qmxdao::RecordDAO<___MERCHANT_INFO>& merchants() {
  static const qmxdao::RecordDAO<___MERCHANT_INFO> dao([] {
    auto policy = qmxdao::genericPolicy(qmxdao::merchantTable(), DBNAME_MAIN);
    policy.lookupSql = L"select * from MERCHANT_INFO where [GUID]=?";
    policy.keyMembers = {&___MERCHANT_INFO::GUID};
    policy.stamp = qmxdao::NewRecordStamp::kCreateTimeWhenEmpty;
    policy.newId = qmxdao::NewRecordId::kTableAssigns;
    policy.addLine = L"MerchantDAOImpl::modify::Add %d条Item %s\n";
    policy.updateLine = L"MerchantDAOImpl::modify::Updates %d条Item %s\n";
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(MerchantDAOImpl, IMerchantDAO, ___MERCHANT_INFO, merchants())

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___MERCHANT_INFO>;

const qmxdao::RecordDAO<QMXDataDomain::___MERCHANT_INFO>& qmxdao::recordDao(
    const QMXDataDomain::___MERCHANT_INFO*) {
  return QMXDAO::merchants();
}
