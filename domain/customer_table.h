// The column declaration of ___CUSTOMER, shared by the record and its data-access class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/Customer.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___CUSTOMER>& customerTable();

}  // namespace qmxdao
