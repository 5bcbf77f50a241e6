// The column declaration of ___USER, shared by the record and its data-access class.
#pragma once

#include "domain/record_table.h"
#include "qmxdao/domain/User.h"

namespace qmxdao {

const RecordTable<QMXDataDomain::___USER>& userTable();

}  // namespace qmxdao
