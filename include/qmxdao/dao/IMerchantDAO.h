// IMerchantDAO: the data-access interface of merchants.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/Merchant.h"

namespace QMXDAO {

class QMX_EXPORT IMerchantDAO : public IGenericDAO<QMXDataDomain::___MERCHANT_INFO> {
 public:
  IMerchantDAO();
  IMerchantDAO(const IMerchantDAO& other);
  IMerchantDAO& operator=(const IMerchantDAO& other);
  ~IMerchantDAO();
};

}  // namespace QMXDAO
