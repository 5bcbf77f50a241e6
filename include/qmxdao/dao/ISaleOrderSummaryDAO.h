// ISaleOrderSummaryDAO: the data-access interface of sale order summaries.
#pragma once

#include "qmxdao/dao/IGenericDAO.h"
#include "qmxdao/domain/SaleOrderSummary.h"

namespace QMXDAO {

class QMX_EXPORT ISaleOrderSummaryDAO : public IGenericDAO<QMXDataDomain::___SALE_ORDER_SUMMARY> {
 public:
  ISaleOrderSummaryDAO();
  ISaleOrderSummaryDAO(const ISaleOrderSummaryDAO& other);
  ISaleOrderSummaryDAO& operator=(const ISaleOrderSummaryDAO& other);
  ~ISaleOrderSummaryDAO();
};

}  // namespace QMXDAO
