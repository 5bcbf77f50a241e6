#include "qmxdao/dao/CustomerDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/customer_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___CUSTOMER;

const qmxdao::RecordDAO<___CUSTOMER>& customers() {
  static const qmxdao::RecordDAO<___CUSTOMER> dao([] {
    auto policy = qmxdao::genericPolicy(qmxdao::customerTable(), DBNAME_MAIN);
    policy.lookupSql = L"select * from CUSTOMER where   ORG=? and ID=? ";
    policy.keyMembers = {&___CUSTOMER::ORG, &___CUSTOMER::ID};
    policy.skipsRecordOnLookupFailure = true;
    policy.stamp = qmxdao::NewRecordStamp::kCreateTimeWhenEmpty;
    policy.newId = qmxdao::NewRecordId::kLargestPlusOneWhenZero;
    policy.addLine = L"CustomerDAOImpl::save::Add %d条Item %s\n";
    policy.updateLine = L"CustomerDAOImpl::save::Updates %d条Item %s\n";
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(CustomerDAOImpl, ICustomerDAO, ___CUSTOMER, customers())

long long CustomerDAOImpl::countNoKey() {
  return customers().countBy(L"SELECT  COUNT(*)  FROM CUSTOMER", L"");
}

std::vector<___CUSTOMER> CustomerDAOImpl::findBySQLNoKey(const std::wstring& sql) {
  return customers().findBySQL(sql, L"");
}

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___CUSTOMER>;

const qmxdao::RecordDAO<QMXDataDomain::___CUSTOMER>& qmxdao::recordDao(
    const QMXDataDomain::___CUSTOMER*) {
  return QMXDAO::customers();
}
