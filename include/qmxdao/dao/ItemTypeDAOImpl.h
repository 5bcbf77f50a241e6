// ItemTypeDAOImpl: item types in table "ITEM_TYPE" of the main file. The batch save finds a
// stored type by its SEQ_ID and ORG and overwrites every column of the matched row.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/IItemTypeDAO.h"

namespace QMXDAO {

class QMX_EXPORT ItemTypeDAOImpl : public IItemTypeDAO {
 public:
  ItemTypeDAOImpl();
  ~ItemTypeDAOImpl();

  bool add(std::vector<QMXDataDomain::___ITEM_TYPE> records) override;
  bool add(QMXDataDomain::___ITEM_TYPE record) override;
  bool update(std::vector<QMXDataDomain::___ITEM_TYPE> records) override;
  bool update(QMXDataDomain::___ITEM_TYPE record) override;
  bool save(std::vector<QMXDataDomain::___ITEM_TYPE> records) override;
  bool save(QMXDataDomain::___ITEM_TYPE record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___ITEM_TYPE findById(long long id) override;
  std::vector<QMXDataDomain::___ITEM_TYPE> findBySQL(const std::wstring& sql) override;

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(ItemTypeDAOImpl, IItemTypeDAO, ___ITEM_TYPE)
#endif
