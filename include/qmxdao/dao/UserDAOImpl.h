// UserDAOImpl: users in table "USER" of the main file. The batch save finds a stored user by its
// USERNAME and ORG and writes it back to the stored row, whatever ID the caller passed.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/IUserDAO.h"

namespace QMXDAO {

class QMX_EXPORT UserDAOImpl : public IUserDAO {
 public:
  UserDAOImpl();
  ~UserDAOImpl();

  bool add(std::vector<QMXDataDomain::___USER> records) override;
  bool add(QMXDataDomain::___USER record) override;
  bool update(std::vector<QMXDataDomain::___USER> records) override;
  bool update(QMXDataDomain::___USER record) override;
  bool save(std::vector<QMXDataDomain::___USER> records) override;
  bool save(QMXDataDomain::___USER record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___USER findById(long long id) override;
  std::vector<QMXDataDomain::___USER> findBySQL(const std::wstring& sql) override;

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(UserDAOImpl, IUserDAO, ___USER)
#endif
