// DBConnection of the portable layer: the library opens the main file with the database key and
// hands over the connection's handle.
#pragma once

#include <memory>

#include "qmxdao/portable/call.h"

inline QMXDAO::DBConnection::DBConnection() {
  qmxdao_db* handle = nullptr;
  qmxdao::portable::call(qmxdao_db_connection, &handle);
  db_.reset(qmxdao::portable::Access::adoptNew<CppSQLite3DB>(handle));
}
inline QMXDAO::DBConnection::DBConnection(const DBConnection& other) = default;
inline QMXDAO::DBConnection& QMXDAO::DBConnection::operator=(const DBConnection& other) = default;
inline QMXDAO::DBConnection::~DBConnection() = default;
inline CppSQLite3DB& QMXDAO::DBConnection::getDBConnectionInstance() { return *db_; }
