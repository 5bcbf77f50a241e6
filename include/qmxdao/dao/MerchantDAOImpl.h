// MerchantDAOImpl: merchants in table "MERCHANT_INFO" of the main file. The batch save finds a
// stored merchant by its GUID and updates that row under its stored ID.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/IMerchantDAO.h"

namespace QMXDAO {

class QMX_EXPORT MerchantDAOImpl : public IMerchantDAO {
 public:
  MerchantDAOImpl();
  ~MerchantDAOImpl();

  bool add(std::vector<QMXDataDomain::___MERCHANT_INFO> records) override;
  bool add(QMXDataDomain::___MERCHANT_INFO record) override;
  bool update(std::vector<QMXDataDomain::___MERCHANT_INFO> records) override;
  bool update(QMXDataDomain::___MERCHANT_INFO record) override;
  bool save(std::vector<QMXDataDomain::___MERCHANT_INFO> records) override;
  bool save(QMXDataDomain::___MERCHANT_INFO record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___MERCHANT_INFO findById(long long id) override;
  std::vector<QMXDataDomain::___MERCHANT_INFO> findBySQL(const std::wstring& sql) override;

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(MerchantDAOImpl, IMerchantDAO, ___MERCHANT_INFO)
#endif
