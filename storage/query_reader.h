// QueryReader: reads a text field of a query's current row straight into the caller's string,
// without the query's own copy. The records' row reader uses it for every text column it reads.
#pragma once

#include <string>

#include "qmxdao/storage/CppSQLite3Query.h"

namespace qmxdao {

class QueryReader {
 public:
  // The field's text; the empty text for NULL.
  static void text(CppSQLite3Query& query, int field, std::wstring& out);
};

}  // namespace qmxdao
