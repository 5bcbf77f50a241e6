// CppSQLite3DB: one connection to one database file. It is created empty, opened with a path
// and a key (the empty key opens a plain, unencrypted file), and frees its connection when it is
// closed or destroyed; a transaction that was not committed is then rolled back. Statements and
// queries made from it must not outlive it. Not copyable: operations share it through a
// std::shared_ptr.
#pragma once

#include "qmxdao/storage/CppSQLite3Query.h"
#include "qmxdao/storage/CppSQLite3Statement.h"
#include "qmxdao/storage/Export.h"

struct sqlite3;

namespace qmxdao {
class EngineAccess;
}

class QMX_EXPORT CppSQLite3DB {
 public:
  CppSQLite3DB();
  CppSQLite3DB(const CppSQLite3DB&) = delete;
  CppSQLite3DB& operator=(const CppSQLite3DB&) = delete;
  ~CppSQLite3DB();

  // Opens the file at path (creating it when it does not exist) and checks that the key opens
  // it, so that a wrong key fails here with "file is not a database"; waits up to 10 s for a
  // file that another connection is committing to. Every commit of the connection is durable
  // once it returns: the engine also syncs the folder after deleting the journal.
  void open(const wchar_t* path, const wchar_t* key);
  void close();

  void setBusyTimeout(int milliseconds);
  // Runs one statement (also "begin transaction;" and "commit transaction;"); returns the count
  // of rows it changed.
  int execDML(const wchar_t* sql);
  CppSQLite3Query execQuery(const wchar_t* sql);
  CppSQLite3Statement compileStatement(const wchar_t* sql);

  // Re-keys the file at path to key. A file that already opens with key is left as it is; a file
  // that opens with otherKey (a plain file when otherKey is empty) is rewritten under key. Any
  // other file fails with the engine's error. Works on an unopened object.
  void resetKey(const wchar_t* path, const wchar_t* key, const wchar_t* otherKey);

  // Process-wide engine set-up: DBConfig(2) selects the multi-thread mode and must come before
  // DBInitialize. DBShutdown also forgets every derived key the process holds.
  static void DBConfig(int mode);
  static void DBInitialize();
  static void DBShutdown();

 private:
#if defined(QMXDAO_PORTABLE_API)
  friend struct qmxdao::portable::Access;
  explicit CppSQLite3DB(qmxdao_db* handle);
  qmxdao_db* handle_ = nullptr;
#else
  friend class qmxdao::EngineAccess;

  void checkOpen() const;

  sqlite3* db_ = nullptr;
#endif
};

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/db.h"
#endif
