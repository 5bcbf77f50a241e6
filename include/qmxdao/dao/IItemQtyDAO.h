// IItemQtyDAO: the data-access interface of item stock quantities.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/ItemQty.h"

namespace QMXDAO {

class QMX_EXPORT IItemQtyDAO : public IGenericDAO<QMXDataDomain::___ITEM_QTY> {
 public:
  IItemQtyDAO();
  IItemQtyDAO(const IItemQtyDAO& other);
  IItemQtyDAO& operator=(const IItemQtyDAO& other);
  ~IItemQtyDAO();
};

}  // namespace QMXDAO
