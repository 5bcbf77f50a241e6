// IItemTypeDAO: the data-access interface of item types.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/ItemType.h"

namespace QMXDAO {

class QMX_EXPORT IItemTypeDAO : public IGenericDAO<QMXDataDomain::___ITEM_TYPE> {
 public:
  IItemTypeDAO();
  IItemTypeDAO(const IItemTypeDAO& other);
  IItemTypeDAO& operator=(const IItemTypeDAO& other);
  ~IItemTypeDAO();
};

}  // namespace QMXDAO
