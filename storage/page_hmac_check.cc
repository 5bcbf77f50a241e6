#include "storage/page_hmac_check.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <cstdlib>
#include <memory>

#include "storage/engine_error.h"
#include "storage/text_codec.h"

namespace qmxdao {
namespace {

using Connection = std::unique_ptr<sqlite3, int (*)(sqlite3*)>;

// The first column of every row of a pragma.
std::vector<std::string> pragmaRows(sqlite3* db, const char* sql) {
  std::vector<std::string> rows;
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  if (rc != SQLITE_OK) throwEngineError(db, rc);
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    const unsigned char* text = sqlite3_column_text(stmt, 0);
    rows.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE) throwEngineError(db, rc);
  return rows;
}

}  // namespace

PageHmacCheck checkPageHmacs(const std::wstring& path, const std::wstring& key) {
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(toUtf8(path.data(), path.size()).c_str(), &raw, SQLITE_OPEN_READONLY,
                           nullptr);
  Connection db(raw, sqlite3_close);
  if (rc != SQLITE_OK) throwEngineError(raw, rc);
  // The passphrase itself: the engine derives the key from the file's own salt.
  const std::string passphrase = toUtf8(key.data(), key.size());
  rc = sqlite3_key(raw, passphrase.data(), static_cast<int>(passphrase.size()));
  if (rc != SQLITE_OK) throwEngineError(raw, rc);

  PageHmacCheck check;
  const std::vector<std::string> version = pragmaRows(raw, "PRAGMA cipher_version;");
  check.engineVersion = version.empty() ? std::string() : version.front();
  check.available = std::atoi(check.engineVersion.c_str()) >= 4;
  if (check.available) check.failures = pragmaRows(raw, "PRAGMA cipher_integrity_check;");
  return check;
}

}  // namespace qmxdao
