// IItemDAO: the data-access interface of items.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/Item.h"

namespace QMXDAO {

class QMX_EXPORT IItemDAO : public IGenericDAO<QMXDataDomain::___ITEM> {
 public:
  IItemDAO();
  IItemDAO(const IItemDAO& other);
  IItemDAO& operator=(const IItemDAO& other);
  ~IItemDAO();
};

}  // namespace QMXDAO
