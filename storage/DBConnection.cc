#include "qmxdao/storage/DBConnection.h"

#include "storage/connection.h"

namespace QMXDAO {

// No busy timeout: the application sets its own on the engine object when it wants one.
DBConnection::DBConnection() : db_(qmxdao::openConnection(DBNAME_MAIN, 0)) {}

DBConnection::DBConnection(const DBConnection& other) = default;

DBConnection& DBConnection::operator=(const DBConnection& other) = default;

DBConnection::~DBConnection() = default;

CppSQLite3DB& DBConnection::getDBConnectionInstance() { return *db_; }

}  // namespace QMXDAO
