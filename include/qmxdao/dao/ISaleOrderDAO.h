// ISaleOrderDAO: the data-access interface of sale order lines.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/SaleOrder.h"

namespace QMXDAO {

class QMX_EXPORT ISaleOrderDAO : public IGenericDAO<QMXDataDomain::___SALE_ORDER> {
 public:
  ISaleOrderDAO();
  ISaleOrderDAO(const ISaleOrderDAO& other);
  ISaleOrderDAO& operator=(const ISaleOrderDAO& other);
  ~ISaleOrderDAO();
};

}  // namespace QMXDAO
