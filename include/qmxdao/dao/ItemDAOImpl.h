// ItemDAOImpl: items in table "ITEM" of the main file. The batch save finds a stored item by its
// UPC and ORG, leaves it alone when nothing the application edits has changed, and otherwise
// updates the stored row, keeping its ID and, when the incoming remark is empty, its REMARK.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "qmxdao/dao/IItemDAO.h"

namespace QMXDAO {

class QMX_EXPORT ItemDAOImpl : public IItemDAO {
 public:
  ItemDAOImpl();
  ~ItemDAOImpl();

  bool add(std::vector<QMXDataDomain::___ITEM> records) override;
  bool add(QMXDataDomain::___ITEM record) override;
  bool update(std::vector<QMXDataDomain::___ITEM> records) override;
  bool update(QMXDataDomain::___ITEM record) override;
  bool save(std::vector<QMXDataDomain::___ITEM> records) override;
  bool save(QMXDataDomain::___ITEM record) override;
  bool delet(std::vector<long long> ids) override;
  bool delet(long long id) override;
  long long count() override;
  QMXDataDomain::___ITEM findById(long long id) override;
  std::vector<QMXDataDomain::___ITEM> findBySQL(const std::wstring& sql) override;

  // Inserts, in one transaction, the items whose UPC and ORG are not stored yet, with both time
  // texts set to now; stored items are left untouched. False for an empty vector.
  bool modify(std::vector<QMXDataDomain::___ITEM> records);

 private:
  std::mutex mutex_;  // kept for the class's layout; no operation locks it
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/dao.h"
QMX_PORTABLE_DAO(ItemDAOImpl, IItemDAO, ___ITEM)
inline bool QMXDAO::ItemDAOImpl::modify(std::vector<QMXDataDomain::___ITEM> records) {
  return qmxdao::portable::write(QMXDAO_MODIFY, records);
}
#endif
