// CppSQLite3Statement: one compiled statement with parameters counted from 1. A batch binds,
// executes and resets the same statement for each of its records. It owns its compiled statement
// (released by finalize or the destructor) and can be moved but not copied.
#pragma once

#include <string>
#include <vector>

#include "qmxdao/storage/CppSQLite3Query.h"
#include "qmxdao/storage/Export.h"

struct sqlite3;
struct sqlite3_stmt;

class QMX_EXPORT CppSQLite3Statement {
 public:
  CppSQLite3Statement();
  CppSQLite3Statement(CppSQLite3Statement&& other) noexcept;
  CppSQLite3Statement& operator=(CppSQLite3Statement&& other) noexcept;
  CppSQLite3Statement(const CppSQLite3Statement&) = delete;
  CppSQLite3Statement& operator=(const CppSQLite3Statement&) = delete;
  ~CppSQLite3Statement();

  void bind(int param, int value);
  void bind(int param, long long value);
  void bind(int param, double value);
  // The null pointer binds NULL.
  void bind(int param, const wchar_t* value);
  void bindNull(int param);

  // Runs the statement to its end; returns the count of rows it changed.
  int execDML();
  // Runs the statement as a query; the statement keeps ownership, so the query must be done
  // with before the statement is reset or finalized.
  CppSQLite3Query execQuery();
  // Readies the statement for the next execution; bindings stay until they are bound anew.
  void reset();
  void finalize();

 private:
  friend class CppSQLite3DB;
  CppSQLite3Statement(sqlite3* db, sqlite3_stmt* stmt);

  void checkStatement() const;
  void checkBind(int rc) const;

  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  // The UTF-8 of each bound text, read by the engine in place until the parameter is bound
  // again: a batch rebinding the same statement then allocates nothing per record.
  std::vector<std::string> texts_;
};
