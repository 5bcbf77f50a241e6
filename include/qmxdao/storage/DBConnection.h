// DBConnection: a connection to the main database file that the application keeps for its own
// statements. Copies share one engine object; the last copy to go releases it (without close).
// The data-access classes do not use it.
#pragma once

#include <memory>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Export.h"

namespace QMXDAO {

class QMX_EXPORT DBConnection {
 public:
  // Opens the main file with the database key; an engine failure leaves as CppSQLite3Exception.
  DBConnection();
  DBConnection(const DBConnection& other);
  DBConnection& operator=(const DBConnection& other);
  ~DBConnection();

  CppSQLite3DB& getDBConnectionInstance();

 private:
  std::shared_ptr<CppSQLite3DB> db_;
};

}  // namespace QMXDAO

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/db_connection.h"
#endif
