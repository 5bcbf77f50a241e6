// The data-access operations of each record, as its data-access class holds them, for the code
// that works below the classes (the C boundary): recordDao(static_cast<const Record*>(nullptr)).
#pragma once

#include "QMXDAOService.h"
#include "dao/record_dao.h"

namespace qmxdao {

const RecordDAO<QMXDataDomain::___CUSTOMER>& recordDao(const QMXDataDomain::___CUSTOMER*);
const RecordDAO<QMXDataDomain::___ITEM>& recordDao(const QMXDataDomain::___ITEM*);
const RecordDAO<QMXDataDomain::___ITEM_QTY>& recordDao(const QMXDataDomain::___ITEM_QTY*);
const RecordDAO<QMXDataDomain::___ITEM_TYPE>& recordDao(const QMXDataDomain::___ITEM_TYPE*);
const RecordDAO<QMXDataDomain::___MERCHANT_INFO>& recordDao(const QMXDataDomain::___MERCHANT_INFO*);
const RecordDAO<QMXDataDomain::___PURCHASE_INFO>& recordDao(const QMXDataDomain::___PURCHASE_INFO*);
const RecordDAO<QMXDataDomain::___SALE_ORDER>& recordDao(const QMXDataDomain::___SALE_ORDER*);
const RecordDAO<QMXDataDomain::___SALE_ORDER_SUMMARY>& recordDao(
    const QMXDataDomain::___SALE_ORDER_SUMMARY*);
const RecordDAO<QMXDataDomain::___USER>& recordDao(const QMXDataDomain::___USER*);

}  // namespace qmxdao
