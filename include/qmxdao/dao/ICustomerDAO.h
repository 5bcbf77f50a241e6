// ICustomerDAO: the data-access interface of customers.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/Customer.h"

namespace QMXDAO {

class QMX_EXPORT ICustomerDAO : public IGenericDAO<QMXDataDomain::___CUSTOMER> {
 public:
  ICustomerDAO();
  ICustomerDAO(const ICustomerDAO& other);
  ICustomerDAO& operator=(const ICustomerDAO& other);
  ~ICustomerDAO();
};

}  // namespace QMXDAO
