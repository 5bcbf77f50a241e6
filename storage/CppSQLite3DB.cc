#include "qmxdao/storage/CppSQLite3DB.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <openssl/crypto.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "storage/engine_access.h"
#include "storage/engine_error.h"
#include "storage/key_cache.h"
#include "storage/platform.h"
#include "storage/text_codec.h"

namespace {

std::string utf8(const wchar_t* text) {
  return text != nullptr ? qmxdao::toUtf8(text, std::wcslen(text)) : std::string();
}

// Escapes a text for a single-quoted SQL literal.
std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out.push_back(c);
    if (c == '\'') out.push_back('\'');
  }
  out.push_back('\'');
  return out;
}

// The file's salt, read through the connection's own file handle. Opening the file a second time
// and closing it would release every POSIX lock this process holds on it, those of other threads'
// connections included, and another process could then write under their feet. A file shorter
// than its salt (new or empty) gives the empty text; a failed read throws the engine's code.
std::string readSalt(sqlite3* db) {
  sqlite3_file* file = nullptr;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
      file == nullptr || file->pMethods == nullptr) {
    return std::string();
  }
  std::string salt(qmxdao::kSaltSize, '\0');
  int rc = file->pMethods->xRead(file, salt.data(), static_cast<int>(salt.size()), 0);
  if (rc == SQLITE_IOERR_SHORT_READ) return std::string();
  if (rc != SQLITE_OK)
    qmxdao::throwLayerError(rc & 0xff, qmxdao::fromUtf8(sqlite3_errstr(rc)).c_str());
  return salt;
}

// A zero-byte file (truncated, or a placeholder) is no shop database, though the engine would
// take it for an empty one and write a header into it at the first write. Opening existing files
// only, the library refuses it as the engine refuses any other file that is not a database, and
// leaves it as it is.
void refuseEmptyFile(sqlite3* db) {
  sqlite3_file* file = nullptr;
  sqlite3_int64 size = -1;
  if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
      file == nullptr || file->pMethods == nullptr ||
      file->pMethods->xFileSize(file, &size) != SQLITE_OK || size != 0) {
    return;
  }
  sqlite3_close(db);
  qmxdao::throwLayerError(SQLITE_NOTADB, L"file is not a database");
}

// Opens path (UTF-8) and applies the key; does not check that the key fits. Without
// SQLITE_OPEN_CREATE in flags, a zero-byte file is refused.
sqlite3* openRaw(const std::string& path, const std::string& key, int flags) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK) {
    std::wstring message = qmxdao::fromUtf8(db != nullptr ? sqlite3_errmsg(db) : "");
    sqlite3_close(db);
    throw CppSQLite3Exception(rc, message);
  }
  if ((flags & SQLITE_OPEN_CREATE) == 0) refuseEmptyFile(db);
  if (key.empty()) return db;
  // A file with a salt opens with the key derived once for that salt; a new or empty file is
  // keyed with the passphrase itself, so that the engine writes a fresh salt and the file stays
  // openable by the passphrase.
  std::string salt;
  try {
    salt = readSalt(db);
  } catch (...) {
    sqlite3_close(db);
    throw;
  }
  std::string keyText = salt.size() == qmxdao::kSaltSize ? qmxdao::rawKeyFor(key, salt) : key;
  rc = sqlite3_key(db, keyText.data(), static_cast<int>(keyText.size()));
  OPENSSL_cleanse(keyText.data(), keyText.size());
  if (rc != SQLITE_OK) {
    std::wstring message = qmxdao::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    throw CppSQLite3Exception(rc, message);
  }
  return db;
}

// Reads the schema, which fails with SQLITE_NOTADB when the key does not fit the file. Compiling
// a statement on sqlite_master reads the schema (waiting for a busy file as every read does) in a
// read transaction of its own; running it would take the file's locks a second time.
int probe(sqlite3* db) {
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master;", -1, &stmt, nullptr);
  sqlite3_finalize(stmt);
  return rc;
}

// An open waits this long for a file that another connection is committing to.
constexpr int kOpenBusyTimeout = 10000;

// Opens path and checks that the key fits, waiting for a busy file; the connection keeps that
// busy timeout. Every commit is made durable: with "synchronous=EXTRA" the engine syncs the
// folder after deleting the rollback journal, whose deletion is the commit. The file format and
// the journal mode stay as they are.
sqlite3* openChecked(const std::string& path, const std::string& key, int flags) {
  sqlite3* db = openRaw(path, key, flags);
  sqlite3_busy_timeout(db, kOpenBusyTimeout);
  int rc = probe(db);
  if (rc == SQLITE_OK) {
    rc = sqlite3_exec(db, "PRAGMA synchronous=EXTRA;", nullptr, nullptr, nullptr);
  }
  if (rc != SQLITE_OK) {
    std::wstring message = qmxdao::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    throw CppSQLite3Exception(rc, message);
  }
  return db;
}

// Opens for the application: the operation sets its own busy timeout.
sqlite3* openForUse(const wchar_t* path, const wchar_t* key, int flags) {
  std::wstring path16 = path != nullptr ? path : L"";
  sqlite3* db = openChecked(qmxdao::toUtf8(path16), utf8(key), flags);
  sqlite3_busy_timeout(db, 0);
  return db;
}

// An SQL function fails with the generic code and the text of the failure behind it (the
// export's I/O error, full disk); this gives that failure's own code back.
int codeOfFunctionError(sqlite3* db, int rc) {
  if (rc != SQLITE_ERROR) return rc;
  const char* message = sqlite3_errmsg(db);
  for (int code : {SQLITE_IOERR, SQLITE_FULL, SQLITE_CORRUPT, SQLITE_NOTADB, SQLITE_CANTOPEN,
                   SQLITE_READONLY, SQLITE_BUSY, SQLITE_NOMEM, SQLITE_PERM}) {
    if (message != nullptr && std::strcmp(message, sqlite3_errstr(code)) == 0) return code;
  }
  return rc;
}

// True when text holds a statement (or what the engine cannot read as blanks and comments).
bool holdsStatement(sqlite3* db, const char* text) {
  if (text == nullptr || *text == '\0') return false;
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, text, -1, &stmt, nullptr);
  sqlite3_finalize(stmt);
  return rc != SQLITE_OK || stmt != nullptr;
}

// Compiles the one statement of sql. A text that holds more is refused before anything runs:
// running its first statement alone would drop the others without a word, and running them one
// by one outside a transaction could stop halfway with the first ones kept.
sqlite3_stmt* prepareOne(sqlite3* db, const wchar_t* sql) {
  std::string text = utf8(sql);
  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()) + 1, &stmt, &tail);
  if (rc != SQLITE_OK) qmxdao::throwEngineError(db, rc);
  if (stmt == nullptr) qmxdao::throwLayerError(SQLITE_MISUSE, L"no statement in the SQL text");
  if (holdsStatement(db, tail)) {
    sqlite3_finalize(stmt);
    qmxdao::throwLayerError(SQLITE_MISUSE,
                            L"the SQL text holds more than one statement; none was run");
  }
  return stmt;
}

void execOrThrow(sqlite3* db, const std::string& sql) {
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) qmxdao::throwEngineError(db, codeOfFunctionError(db, rc));
}

}  // namespace

CppSQLite3DB::CppSQLite3DB() = default;

CppSQLite3DB::~CppSQLite3DB() {
  // close_v2 defers the release while a statement of this connection is still alive; an open
  // transaction is rolled back.
  if (db_ != nullptr) sqlite3_close_v2(db_);
}

void CppSQLite3DB::open(const wchar_t* path, const wchar_t* key) {
  if (db_ != nullptr) close();
  db_ = openForUse(path, key, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

namespace qmxdao {

void EngineAccess::openExisting(CppSQLite3DB& db, const wchar_t* path, const wchar_t* key) {
  if (db.db_ != nullptr) db.close();
  db.db_ = openForUse(path, key, SQLITE_OPEN_READWRITE);
}

bool EngineAccess::inTransaction(const CppSQLite3DB& db) {
  return db.db_ != nullptr && sqlite3_get_autocommit(db.db_) == 0;
}

}  // namespace qmxdao

void CppSQLite3DB::close() {
  if (db_ == nullptr) return;
  int rc = sqlite3_close(db_);
  if (rc != SQLITE_OK) qmxdao::throwEngineError(db_, rc);
  db_ = nullptr;
}

void CppSQLite3DB::checkOpen() const {
  if (db_ == nullptr) qmxdao::throwLayerError(SQLITE_MISUSE, L"database is not open");
}

void CppSQLite3DB::setBusyTimeout(int milliseconds) {
  checkOpen();
  int rc = sqlite3_busy_timeout(db_, milliseconds);
  if (rc != SQLITE_OK) qmxdao::throwEngineError(db_, rc);
}

int CppSQLite3DB::execDML(const wchar_t* sql) {
  CppSQLite3Statement statement = compileStatement(sql);
  return statement.execDML();
}

CppSQLite3Query CppSQLite3DB::execQuery(const wchar_t* sql) {
  checkOpen();
  sqlite3_stmt* stmt = prepareOne(db_, sql);
  int rc = sqlite3_step(stmt);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
    sqlite3_finalize(stmt);
    qmxdao::throwEngineError(db_, rc);
  }
  return CppSQLite3Query(db_, stmt, rc == SQLITE_DONE, true);
}

CppSQLite3Statement CppSQLite3DB::compileStatement(const wchar_t* sql) {
  checkOpen();
  return CppSQLite3Statement(db_, prepareOne(db_, sql));
}

void CppSQLite3DB::resetKey(const wchar_t* path, const wchar_t* key, const wchar_t* otherKey) {
  std::wstring path16 = path != nullptr ? path : L"";
  std::string path8 = qmxdao::toUtf8(path16);
  std::string newKey = utf8(key);
  std::string oldKey = utf8(otherKey);
  // Re-keying never creates the file; the second open's flags let the export create its new one.
  try {
    sqlite3* db = openChecked(path8, newKey, SQLITE_OPEN_READWRITE);
    sqlite3_close(db);
    return;  // already under the new key
  } catch (const CppSQLite3Exception& e) {
    if (e.errorCode() != SQLITE_NOTADB) throw;
  }

  sqlite3* db = openChecked(path8, oldKey, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  refuseEmptyFile(db);  // neither plain nor keyed: left at zero bytes
  try {
    if (!oldKey.empty() && !newKey.empty()) {
      int rc = sqlite3_rekey(db, newKey.data(), static_cast<int>(newKey.size()));
      if (rc != SQLITE_OK) qmxdao::throwEngineError(db, rc);
      sqlite3_close(db);
      return;
    }
    // Between a plain and a keyed file the engine cannot re-key in place: export into a new file
    // under the new key, then put it in the old one's place.
    std::wstring temp16 = path16 + L".rekey";
    qmxdao::platform::removeFile(temp16);
    std::string version;
    {
      sqlite3_stmt* stmt = nullptr;
      if (sqlite3_prepare_v2(db, "PRAGMA user_version;", -1, &stmt, nullptr) == SQLITE_OK &&
          sqlite3_step(stmt) == SQLITE_ROW) {
        version = std::to_string(sqlite3_column_int(stmt, 0));
      }
      sqlite3_finalize(stmt);
    }
    try {
      execOrThrow(db, "ATTACH DATABASE " + quoted(qmxdao::toUtf8(temp16)) + " AS rekeyed KEY " +
                          quoted(newKey) + ";");
      execOrThrow(db, "SELECT sqlcipher_export('rekeyed');");
      if (!version.empty()) execOrThrow(db, "PRAGMA rekeyed.user_version = " + version + ";");
      execOrThrow(db, "DETACH DATABASE rekeyed;");
    } catch (...) {
      sqlite3_exec(db, "DETACH DATABASE rekeyed;", nullptr, nullptr, nullptr);
      qmxdao::platform::removeFile(temp16);
      throw;
    }
    sqlite3_close(db);
    db = nullptr;
    if (!qmxdao::platform::replaceFile(temp16, path16)) {
      qmxdao::platform::removeFile(temp16);
      qmxdao::throwLayerError(SQLITE_CANTOPEN, L"cannot replace the database file");
    }
  } catch (...) {
    if (db != nullptr) sqlite3_close(db);
    throw;
  }
}

void CppSQLite3DB::DBConfig(int mode) {
  int rc = SQLITE_ERROR;
  switch (mode) {
    case 1:
      rc = sqlite3_config(SQLITE_CONFIG_SINGLETHREAD);
      break;
    case 2:
      rc = sqlite3_config(SQLITE_CONFIG_MULTITHREAD);
      break;
    case 3:
      rc = sqlite3_config(SQLITE_CONFIG_SERIALIZED);
      break;
    default:
      qmxdao::throwLayerError(SQLITE_MISUSE, L"unknown engine configuration");
  }
  if (rc != SQLITE_OK) qmxdao::throwEngineError(nullptr, rc);
}

void CppSQLite3DB::DBInitialize() {
  int rc = sqlite3_initialize();
  if (rc != SQLITE_OK) qmxdao::throwEngineError(nullptr, rc);
}

void CppSQLite3DB::DBShutdown() {
  qmxdao::clearDerivedKeys();
  int rc = sqlite3_shutdown();
  if (rc != SQLITE_OK) qmxdao::throwEngineError(nullptr, rc);
}
