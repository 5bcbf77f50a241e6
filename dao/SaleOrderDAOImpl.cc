#include "qmxdao/dao/SaleOrderDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/sale_order_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___SALE_ORDER;

const qmxdao::RecordDAO<___SALE_ORDER>& saleOrders() {
  static const qmxdao::RecordDAO<___SALE_ORDER> dao([] {
    auto policy = qmxdao::genericPolicy(qmxdao::saleOrderTable(), DBNAME_SALE);
    policy.lookupSql = L"select * from SALE_ORDER where [RAND_ID]=? and [UPC]=?";
    policy.keyMembers = {&___SALE_ORDER::RAND_ID, &___SALE_ORDER::UPC};
    // Lines are stored with the times the till gave them.
    policy.stamp = qmxdao::NewRecordStamp::kNone;
    policy.newId = qmxdao::NewRecordId::kTableAssigns;
    policy.addLine = L"SALEORDERDAOImpl::modify::Add %d条Item %s\n";
    policy.updateLine = L"SALEORDERDAOImpl::modify::Updates %d条Item %s\n";
    policy.countSql = L"SELECT COUNT(*) FROM SALE_ORDER";
    policy.findByIdFormat = L"SELECT * FROM SALE_ORDER WHERE ID = %I64d";
    policy.deleteHead = L"DELETE FROM SALE_ORDER WHERE ID IN (";
    // The till reads sale lines while it sells: a failed read gives what it had so far instead
    // of interrupting the sale.
    policy.keepsReadFailures = true;
    policy.findByIdEndsLinePerRow = true;
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(SaleOrderDAOImpl, ISaleOrderDAO, ___SALE_ORDER, saleOrders())

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___SALE_ORDER>;

const qmxdao::RecordDAO<QMXDataDomain::___SALE_ORDER>& qmxdao::recordDao(
    const QMXDataDomain::___SALE_ORDER*) {
  return QMXDAO::saleOrders();
}
