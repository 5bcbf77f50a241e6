// The installation schema of the two database files, as shipped in schema/.
#pragma once

namespace qmxdb {

const char* mainSchemaSql();  // schema/QMX.sql
const char* saleSchemaSql();  // schema/SALE.sql

}  // namespace qmxdb
