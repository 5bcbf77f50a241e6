#include "qmxdao/dao/UserDAOImpl.h"

#include "dao/dao_operations.h"
#include "dao/record_daos.h"
#include "domain/user_table.h"

namespace QMXDAO {
namespace {

using QMXDataDomain::___USER;

const qmxdao::RecordDAO<___USER>& users() {
  static const qmxdao::RecordDAO<___USER> dao([] {
    auto policy = qmxdao::genericPolicy(qmxdao::userTable(), DBNAME_MAIN);
    policy.lookupSql = L"select * from USER where [USERNAME]=? and [ORG]=?";
    policy.keyMembers = {&___USER::USERNAME, &___USER::ORG};
    policy.stamp = qmxdao::NewRecordStamp::kBothTimes;
    policy.newId = qmxdao::NewRecordId::kTableAssigns;
    policy.addLine = L"UserDAOImpl::modify::Add %d条Item %s\n";
    policy.updateLine = L"UserDAOImpl::modify::Updates %d条Item %s\n";
    return policy;
  }());
  return dao;
}

}  // namespace

QMX_DEFINE_DAO_OPERATIONS(UserDAOImpl, IUserDAO, ___USER, users())

}  // namespace QMXDAO

// The interface instantiation lives in the library, beside its implementation.
template class QMXDAO::IGenericDAO<QMXDataDomain::___USER>;

const qmxdao::RecordDAO<QMXDataDomain::___USER>& qmxdao::recordDao(const QMXDataDomain::___USER*) {
  return QMXDAO::users();
}
