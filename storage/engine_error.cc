#include "storage/engine_error.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include "storage/text_codec.h"

namespace qmxdao {

void throwEngineError(sqlite3* db, int resultCode) {
  // With extended codes off the connection reports the primary code; keep the caller's code,
  // which is the one the failing call returned.
  const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode);
  throw CppSQLite3Exception(resultCode, fromUtf8(message != nullptr ? message : ""));
}

void throwLayerError(int resultCode, const wchar_t* message) {
  throw CppSQLite3Exception(resultCode, message);
}

}  // namespace qmxdao
