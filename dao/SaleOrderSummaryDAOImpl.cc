#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/sale_order_summary_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___SALE_ORDER_SUMMARY;

const qmxdao::RecordDAO<___SALE_ORDER_SUMMARY>& saleOrderSummaries() {
  static const qmxdao::RecordDAO<___SALE_ORDER_SUMMARY> dao([] {
    auto policy = qmxdao::genericPolicy(qmxdao::saleOrderSummaryTable(), DBNAME_SALE);
    policy.lookupSql = L"select * from SALE_ORDER_SUMMARY where [RAND_ID]=?";
    policy.keyMembers = {&___SALE_ORDER_SUMMARY::RAND_ID};
    policy.stamp = qmxdao::NewRecordStamp::kBothTimes;
    policy.newId = qmxdao::NewRecordId::kTableAssigns;
    policy.addLine = L"SaleOrderSummaryDAOImpl::save::Add %d条Item %s\n";
    policy.updateLine = L"SaleOrderSummaryDAOImpl::save::Updates %d条Item %s\n";
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(SaleOrderSummaryDAOImpl, ISaleOrderSummaryDAO, ___SALE_ORDER_SUMMARY,
                          saleOrderSummaries())

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___SALE_ORDER_SUMMARY>;

const qmxdao::RecordDAO<QMXDataDomain::___SALE_ORDER_SUMMARY>& qmxdao::recordDao(
    const QMXDataDomain::___SALE_ORDER_SUMMARY*) {
  return QMXDAO::saleOrderSummaries();
}
