// The column declaration of ___MERCHANT_INFO, shared by the record and its data-access class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/Merchant.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___MERCHANT_INFO>& merchantTable();

}  // namespace qmxdao
