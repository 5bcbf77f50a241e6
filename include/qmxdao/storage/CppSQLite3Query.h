// CppSQLite3Query: a cursor over the rows of one query, standing on its first row when it is
// returned. Fields are counted from 0 and read as wide text or numbers; a NULL field gives the
// caller's default. The query owns its compiled statement unless it was run from a
// CppSQLite3Statement, which keeps ownership. It can be moved but not copied.
#pragma once

#include <string>
#include <vector>

#include "qmxdao/storage/Export.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qmxdao {
class QueryReader;
}

class QMX_EXPORT CppSQLite3Query {
 public:
  CppSQLite3Query();
  CppSQLite3Query(CppSQLite3Query&& other) noexcept;
  CppSQLite3Query& operator=(CppSQLite3Query&& other) noexcept;
  CppSQLite3Query(const CppSQLite3Query&) = delete;
  CppSQLite3Query& operator=(const CppSQLite3Query&) = delete;
  ~CppSQLite3Query();

  bool eof() const;
  void nextRow();
  int numFields() const;

  // The column's name; valid while the query lives.
  const wchar_t* fieldName(int field) const;
  // The field's text, or the null pointer for a NULL field; valid until the next row.
  const wchar_t* fieldValue(int field);
  bool fieldIsNull(int field) const;

  const wchar_t* getStringField(int field, const wchar_t* nullValue = L"");
  int getIntField(int field, int nullValue = 0) const;
  long long getInt64Field(int field, long long nullValue = 0) const;
  double getFloatField(int field, double nullValue = 0.0) const;

  // Releases the compiled statement (or hands it back to its CppSQLite3Statement).
  void finalize();

 private:
#if defined(QMXDAO_PORTABLE_API)
  friend struct qmxdao::portable::Access;
  explicit CppSQLite3Query(qmxdao_query* handle);
  qmxdao_query* handle_ = nullptr;
#else
  friend class CppSQLite3DB;
  friend class CppSQLite3Statement;
  friend class qmxdao::QueryReader;
  CppSQLite3Query(sqlite3* db, sqlite3_stmt* stmt, bool eof, bool ownsStatement);

  void checkField(int field) const;
  void checkRow() const;

  sqlite3* db_ = nullptr;
  sqlite3_stmt* stmt_ = nullptr;
  bool eof_ = true;
  bool ownsStatement_ = false;
  // Names and texts are converted, and their slots made, when first asked for: a batch reruns its
  // lookup for every record, mostly to learn only that no row matches.
  int fieldCount_ = 0;
  mutable std::vector<std::wstring> names_;
  mutable std::vector<bool> nameRead_;
  std::vector<std::wstring> values_;
  std::vector<bool> valueRead_;
#endif
};

#if defined(QMXDAO_PORTABLE_API)
#include "qmxdao/portable/query.h"
#endif
