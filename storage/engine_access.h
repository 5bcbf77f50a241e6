// EngineAccess: what the library's own operations ask of an engine object beyond its public
// interface. Not exported.
#pragma once

#include "qmxdao/storage/CppSQLite3DB.h"

struct sqlite3;

namespace qmxdao {

class EngineAccess {
 public:
  // Opens an existing file only, as open does otherwise: a missing file fails with the engine's
  // "unable to open database file" (code 14) and nothing is created.
  static void openExisting(CppSQLite3DB& db, const wchar_t* path, const wchar_t* key);
  // Whether a transaction is open on the connection. After some failures (an I/O error, a full
  // disk) the engine rolls the whole transaction back by itself.
  static bool inTransaction(const CppSQLite3DB& db);
  // The engine's own handle of an open connection, for the storage layer's helpers (the online
  // backup); an object that is not open fails as every other call on it does.
  static sqlite3* handle(const CppSQLite3DB& db) {
    db.checkOpen();
    return db.db_;
  }
};

}  // namespace qmxdao
