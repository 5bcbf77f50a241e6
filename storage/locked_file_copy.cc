#include "storage/locked_file_copy.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "storage/engine/page_hmac.h"
#include "storage/engine_access.h"
#include "storage/engine_error.h"
#include "storage/text_codec.h"

namespace qmxdao {
namespace {

// The engine's lock bytes begin at 1 GB; the page that holds them is never used for data.
constexpr sqlite3_int64 kLockBytesOffset = 0x40000000;
// Bytes read and written per call: the largest page size, a multiple of every other, so that
// the lock-byte page begins a chunk (the engine's POSIX file layer writes at most 128 KB a call).
constexpr sqlite3_int64 kChunk = 1 << 16;

// The source's read transaction, from its first read to the end of the copy.
class ReadTransaction {
 public:
  explicit ReadTransaction(sqlite3* db) : db_(db) {}
  ReadTransaction(const ReadTransaction&) = delete;
  ReadTransaction& operator=(const ReadTransaction&) = delete;
  ~ReadTransaction() {
    if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr);
  }
  // Takes the read lock now (a deferred BEGIN takes none until it reads). False when the lock
  // was not had within the busy timeout.
  bool begin() {
    const int rc =
        sqlite3_exec(db_, "BEGIN; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr);
    if ((rc & 0xff) == SQLITE_BUSY) return false;
    if (rc != SQLITE_OK) throwEngineError(db_, rc);
    return true;
  }

 private:
  sqlite3* db_;
};

std::string pragmaText(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  if (rc != SQLITE_OK) throwEngineError(db, rc);
  std::string text;
  rc = sqlite3_step(stmt);
  if (rc == SQLITE_ROW && sqlite3_column_text(stmt, 0) != nullptr) {
    text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
  }
  sqlite3_finalize(stmt);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) throwEngineError(db, rc);
  return text;
}

// The new file, written through the engine's own file layer; removed unless kept.
class NewFile {
 public:
  explicit NewFile(const std::wstring& path)
      : vfs_(sqlite3_vfs_find(nullptr)), path_(toUtf8(path)) {
    vfs_->xDelete(vfs_, path_.c_str(), 0);
    file_ = static_cast<sqlite3_file*>(sqlite3_malloc(vfs_->szOsFile));
    if (file_ == nullptr) throwEngineError(nullptr, SQLITE_NOMEM);
    std::memset(file_, 0, vfs_->szOsFile);
    const int flags =
        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE | SQLITE_OPEN_MAIN_DB;
    int opened = 0;
    const int rc = vfs_->xOpen(vfs_, path_.c_str(), file_, flags, &opened);
    if (rc != SQLITE_OK) {
      sqlite3_free(file_);
      file_ = nullptr;
      throwEngineError(nullptr, rc);
    }
  }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  ~NewFile() {
    close();
    if (!kept_) vfs_->xDelete(vfs_, path_.c_str(), 0);
  }

  void write(const void* bytes, int size, sqlite3_int64 offset) {
    check(file_->pMethods->xWrite(file_, bytes, size, offset));
  }
  // Synced to disk (data and size) and closed; the caller renames it into place.
  void keep() {
    check(file_->pMethods->xSync(file_, SQLITE_SYNC_FULL));
    const int rc = close();
    if (rc != SQLITE_OK) throwEngineError(nullptr, rc);
    kept_ = true;
  }

 private:
  void check(int rc) {
    if (rc != SQLITE_OK) throwEngineError(nullptr, rc);
  }
  int close() {
    if (file_ == nullptr) return SQLITE_OK;
    const int rc = file_->pMethods != nullptr ? file_->pMethods->xClose(file_) : SQLITE_OK;
    sqlite3_free(file_);
    file_ = nullptr;
    return rc;
  }

  sqlite3_vfs* vfs_;
  std::string path_;
  sqlite3_file* file_ = nullptr;
  bool kept_ = false;
};

// Every page's HMAC, before its bytes are written: a damaged page is never copied.
void checkPages(sqlite3* db, const char* bytes, sqlite3_int64 offset, sqlite3_int64 length) {
  const long long page = qmxdao_engine_check_page_hmacs(
      db, reinterpret_cast<const unsigned char*>(bytes), offset, static_cast<int>(length));
  if (page < 0) throwLayerError(SQLITE_NOTADB, L"the file has no page HMACs to check");
  if (page > 0) {
    throwLayerError(SQLITE_CORRUPT, (L"HMAC verification failed for page " + std::to_wstring(page) +
                                     L"; nothing was copied")
                                        .c_str());
  }
}

}  // namespace

bool LockedFileCopy::copy(CppSQLite3DB& source, const std::wstring& target,
                          const Progress& progress, const AtSnapshot& atSnapshot) {
  sqlite3* db = EngineAccess::handle(source);
  ReadTransaction snapshot(db);
  if (!snapshot.begin()) return false;
  // In write-ahead logging the newest pages live in the log beside the file.
  if (sqlite3_stricmp(pragmaText(db, "PRAGMA journal_mode;").c_str(), "wal") == 0) return false;
  const sqlite3_int64 pageSize = std::stoll(pragmaText(db, "PRAGMA page_size;"));
  if (atSnapshot) atSnapshot(source);

  sqlite3_file* from = nullptr;
  int rc = sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &from);
  if (rc != SQLITE_OK || from == nullptr || from->pMethods == nullptr) {
    throwEngineError(db, rc != SQLITE_OK ? rc : SQLITE_MISUSE);
  }
  sqlite3_int64 size = 0;
  rc = from->pMethods->xFileSize(from, &size);
  if (rc != SQLITE_OK) throwEngineError(nullptr, rc);
  // Bytes after the last whole page belong to no page and carry no HMAC.
  if (size % pageSize != 0) {
    throwLayerError(SQLITE_CORRUPT, L"the file ends inside a page; nothing was copied");
  }

  NewFile to(target);
  std::vector<char> chunk(static_cast<std::size_t>(kChunk));
  const long long totalPages = size / pageSize;
  for (sqlite3_int64 offset = 0; offset < size;) {
    sqlite3_int64 length = std::min(kChunk, size - offset);
    if (offset == kLockBytesOffset) {
      // Read by no connection, and locked on Windows: the copy holds zeros there.
      length = std::min(pageSize, length);
      std::fill(chunk.begin(), chunk.begin() + length, '\0');
    } else {
      if (offset < kLockBytesOffset) length = std::min(length, kLockBytesOffset - offset);
      rc = from->pMethods->xRead(from, chunk.data(), static_cast<int>(length), offset);
      if (rc != SQLITE_OK) throwEngineError(nullptr, rc);
      checkPages(db, chunk.data(), offset, length);
    }
    to.write(chunk.data(), static_cast<int>(length), offset);
    offset += length;
    if (progress) progress(offset / pageSize, totalPages);
  }
  to.keep();
  return true;
}

}  // namespace qmxdao
