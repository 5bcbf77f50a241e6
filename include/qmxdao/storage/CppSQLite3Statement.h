// CppSQLite3Statement: one compiled statement with parameters counted from 1. A batch binds,
// executes and resets the same statement for each of its records. It owns its compiled statement
// (released by finalize or the destructor) and can be moved but not copied.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "qmxdao/storage/CppSQLite3Query.h"
#include "qmxdao/storage/Export.h"

struct sqlite3;
struct sqlite3_stmt;
class CppSQLite3Statement;

namespace qmxdao {
// Binds what bind(param, text) binds, given the text's length (a std::wstring's size): the text
// up to its first NUL, without measuring it first. The library's own binds use it.
void bindText(CppSQLite3Statement& statement, int param, const wchar_t* text, std::size_t length);
}  // namespace qmxdao

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
#if defined(QMXDAO_PORTABLE_API)
  friend struct qmxdao::portable::Access;
  explicit CppSQLite3Statement(qmxdao_statement* handle);
  qmxdao_statement* handle_ = nullptr;
#else
  friend class CppSQLite3DB;
  friend void qmxdao::bindText(CppSQLite3Statement&, int, const wchar_t*, std::size_t);
  CppSQLite3Statement(sqlite3* db, sqlite3_stmt* stmt);

  void checkStatement() const;
  void checkBind(int rc) const;

  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  // The UTF-8 of each bound text, read by the engine in place until the parameter is bound
  // again: a batch rebinding the same statement then allocates nothing per record.
  // Sized on the first text bind to the parameter count plus one, so the count is asked once.
  std::vector<std::string> texts_;
  // Stepped since the last reset: a query run resets first only then.
  bool stepped_ = false;
#endif
};

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/statement.h"
#endif
