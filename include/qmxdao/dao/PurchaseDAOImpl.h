// PurchaseDAOImpl: purchase lines in table "PURCHASE_INFO" of the main file. The batch save finds a
// stored purchase by its RAND_ID and CREATE_USER and numbers new ones after the largest stored ID.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/IPurchaseDAO.h"

namespace QMXDAO {

class QMX_EXPORT PurchaseDAOImpl : public IPurchaseDAO {
 public:
  PurchaseDAOImpl();
  ~PurchaseDAOImpl();

  bool add(std::vector<QMXDataDomain::___PURCHASE_INFO> records) override;
  bool add(QMXDataDomain::___PURCHASE_INFO record) override;
  bool update(std::vector<QMXDataDomain::___PURCHASE_INFO> records) override;
  bool update(QMXDataDomain::___PURCHASE_INFO record) override;
  bool save(std::vector<QMXDataDomain::___PURCHASE_INFO> records) override;
  bool save(QMXDataDomain::___PURCHASE_INFO record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___PURCHASE_INFO findById(long long id) override;
  std::vector<QMXDataDomain::___PURCHASE_INFO> findBySQL(const std::wstring& sql) override;

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(PurchaseDAOImpl, IPurchaseDAO, ___PURCHASE_INFO)
#endif
