// CustomerDAOImpl: customers in table "CUSTOMER" of the main file. The batch save finds a stored
// customer by its ORG and ID and keeps the stored SUBMIT flag when it updates one.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/ICustomerDAO.h"

namespace QMXDAO {

class QMX_EXPORT CustomerDAOImpl : public ICustomerDAO {
 public:
  CustomerDAOImpl();
  ~CustomerDAOImpl();

  bool add(std::vector<QMXDataDomain::___CUSTOMER> records) override;
  bool add(QMXDataDomain::___CUSTOMER record) override;
  bool update(std::vector<QMXDataDomain::___CUSTOMER> records) override;
  bool update(QMXDataDomain::___CUSTOMER record) override;
  bool save(std::vector<QMXDataDomain::___CUSTOMER> records) override;
  bool save(QMXDataDomain::___CUSTOMER record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___CUSTOMER findById(long long id) override;
  std::vector<QMXDataDomain::___CUSTOMER> findBySQL(const std::wstring& sql) override;

  // count and findBySQL on a plain (unkeyed) main file.
  long long countNoKey();
  std::vector<QMXDataDomain::___CUSTOMER> findBySQLNoKey(const std::wstring& sql);

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(CustomerDAOImpl, ICustomerDAO, ___CUSTOMER)
inline long long QMXDAO::CustomerDAOImpl::countNoKey() {
  return qmxdao::portable::count<QMXDataDomain::___CUSTOMER>(0);
}
inline std::vector<QMXDataDomain::___CUSTOMER> QMXDAO::CustomerDAOImpl::findBySQLNoKey(
    const std::wstring& sql) {
  return qmxdao::portable::findBySQL<QMXDataDomain::___CUSTOMER>(0, sql);
}
#endif
