// IUserDAO: the data-access interface of users.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/User.h"

namespace QMXDAO {

class QMX_EXPORT IUserDAO : public IGenericDAO<QMXDataDomain::___USER> {
 public:
  IUserDAO();
  IUserDAO(const IUserDAO& other);
  IUserDAO& operator=(const IUserDAO& other);
  ~IUserDAO();
};

}  // namespace QMXDAO
