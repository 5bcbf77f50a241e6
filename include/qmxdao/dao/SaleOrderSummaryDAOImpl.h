// SaleOrderSummaryDAOImpl: sale order summaries in table "SALE_ORDER_SUMMARY" of the sales file.
// The batch save finds a stored summary by its RAND_ID.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/ISaleOrderSummaryDAO.h"

namespace QMXDAO {

class QMX_EXPORT SaleOrderSummaryDAOImpl : public ISaleOrderSummaryDAO {
 public:
  SaleOrderSummaryDAOImpl();
  ~SaleOrderSummaryDAOImpl();

  bool add(std::vector<QMXDataDomain::___SALE_ORDER_SUMMARY> records) override;
  bool add(QMXDataDomain::___SALE_ORDER_SUMMARY record) override;
  bool update(std::vector<QMXDataDomain::___SALE_ORDER_SUMMARY> records) override;
  bool update(QMXDataDomain::___SALE_ORDER_SUMMARY record) override;
  bool save(std::vector<QMXDataDomain::___SALE_ORDER_SUMMARY> records) override;
  bool save(QMXDataDomain::___SALE_ORDER_SUMMARY record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___SALE_ORDER_SUMMARY findById(long long id) override;
  std::vector<QMXDataDomain::___SALE_ORDER_SUMMARY> findBySQL(const std::wstring& sql) override;

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(SaleOrderSummaryDAOImpl, ISaleOrderSummaryDAO, ___SALE_ORDER_SUMMARY)
#endif
