// SaleOrderDAOImpl: sale order lines in table "SALE_ORDER" of the sales file. The batch save finds
// a stored line by its RAND_ID and UPC and stamps nothing; count, findById, findBySQL and delet
// keep engine failures to themselves and give what they had so far (a delete: false).
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/ISaleOrderDAO.h"

namespace QMXDAO {

class QMX_EXPORT SaleOrderDAOImpl : public ISaleOrderDAO {
 public:
  SaleOrderDAOImpl();
  ~SaleOrderDAOImpl();

  bool add(std::vector<QMXDataDomain::___SALE_ORDER> records) override;
  bool add(QMXDataDomain::___SALE_ORDER record) override;
  bool update(std::vector<QMXDataDomain::___SALE_ORDER> records) override;
  bool update(QMXDataDomain::___SALE_ORDER record) override;
  bool save(std::vector<QMXDataDomain::___SALE_ORDER> records) override;
  bool save(QMXDataDomain::___SALE_ORDER record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___SALE_ORDER findById(long long id) override;
  std::vector<QMXDataDomain::___SALE_ORDER> findBySQL(const std::wstring& sql) override;

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(SaleOrderDAOImpl, ISaleOrderDAO, ___SALE_ORDER)
#endif
