// ItemQtyDAOImpl: stock quantities in table "ITEM_QTY" of the main file. The batch save finds a
// stored record by its EXT1 and EXT2, updates it under its stored ID and numbers new records
// after the largest stored ID.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/IItemQtyDAO.h"

namespace QMXDAO {

class QMX_EXPORT ItemQtyDAOImpl : public IItemQtyDAO {
 public:
  ItemQtyDAOImpl();
  ~ItemQtyDAOImpl();

  bool add(std::vector<QMXDataDomain::___ITEM_QTY> records) override;
  bool add(QMXDataDomain::___ITEM_QTY record) override;
  bool update(std::vector<QMXDataDomain::___ITEM_QTY> records) override;
  bool update(QMXDataDomain::___ITEM_QTY record) override;
  bool save(std::vector<QMXDataDomain::___ITEM_QTY> records) override;
  bool save(QMXDataDomain::___ITEM_QTY record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___ITEM_QTY findById(long long id) override;
  std::vector<QMXDataDomain::___ITEM_QTY> findBySQL(const std::wstring& sql) override;

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(ItemQtyDAOImpl, IItemQtyDAO, ___ITEM_QTY)
#endif
