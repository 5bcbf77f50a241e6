// QueryReader: reads a text field of a query's current row straight into the caller's string,
// without the query's own copy. The records' row reader uses it for every text column it reads;
// the qmxdb tool asks it for each field's storage class, to write numbers as numbers.
#pragma once

#include <string>

#include "qmxdao/storage/CppSQLite3Query.h"

namespace qmxdao {

enum class FieldKind { kNull, kInteger, kReal, kText, kBlob };

class QueryReader {
 public:
  // The storage class of the field's value on the current row.
  static FieldKind kind(const CppSQLite3Query& query, int field);
  // The field's text; the empty text for NULL.
  static void text(CppSQLite3Query& query, int field, std::wstring& out);
};

}  // namespace qmxdao
