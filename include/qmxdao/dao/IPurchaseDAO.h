// IPurchaseDAO: the data-access interface of purchases.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/Purchase.h"

namespace QMXDAO {

class QMX_EXPORT IPurchaseDAO : public IGenericDAO<QMXDataDomain::___PURCHASE_INFO> {
 public:
  IPurchaseDAO();
  IPurchaseDAO(const IPurchaseDAO& other);
  IPurchaseDAO& operator=(const IPurchaseDAO& other);
  ~IPurchaseDAO();
};

}  // namespace QMXDAO
