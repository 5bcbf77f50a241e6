#include "storage/query_reader.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include "storage/text_codec.h"

namespace qmxdao {

FieldKind QueryReader::kind(const CppSQLite3Query& query, int field) {
  query.checkField(field);
  query.checkRow();
  switch (sqlite3_column_type(query.stmt_, field)) {
    case SQLITE_INTEGER:
      return FieldKind::kInteger;
    case SQLITE_FLOAT:
      return FieldKind::kReal;
    case SQLITE_BLOB:
      return FieldKind::kBlob;
    case SQLITE_NULL:
      return FieldKind::kNull;
    default:
      return FieldKind::kText;
  }
}

void QueryReader::text(CppSQLite3Query& query, int field, std::wstring& out) {
  query.checkField(field);
  query.checkRow();
  const char* text = reinterpret_cast<const char*>(sqlite3_column_text(query.stmt_, field));
  if (text == nullptr) {
    out.clear();  // NULL
    return;
  }
  fromUtf8(text, static_cast<std::size_t>(sqlite3_column_bytes(query.stmt_, field)), out);
}

}  // namespace qmxdao
