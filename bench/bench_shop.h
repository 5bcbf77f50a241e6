// A temporary shop for the benchmarks: a host folder in the system's temp folder holding the
// installation's two keyed database files, with the library pointed at it. The benchmarks of this
// program share one shop, made on first use and removed when the program ends. Beside it, what the
// benchmarks need to do the same work straight against SQLCipher, for comparison.
#pragma once

#include <benchmark/benchmark.h>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "qmxdao/storage/Utility.h"

namespace qmxbench {

class BenchShop {
 public:
  // Makes the folder and the files, and fills ITEM with itemCount rows.
  explicit BenchShop(int itemCount);
  BenchShop(const BenchShop&) = delete;
  BenchShop& operator=(const BenchShop&) = delete;
  ~BenchShop();

  int itemCount() const { return itemCount_; }
  // The main database file, as the library names it; file() any of the two.
  std::filesystem::path mainFile() const;
  std::filesystem::path file(QMXDAO::enDBNameType type) const;
  // Puts ITEM back to the itemCount rows it was made with, for benchmarks that empty it.
  void resetItems();

 private:
  std::filesystem::path folder_;
  int itemCount_;
};

// The shop with 1000 items that every benchmark of this program uses. The first call also sets up
// the engine (Utility::InitDB); the engine is shut down when the program ends.
BenchShop& sharedShop();

// Deletes the rows of a table of the main file (or of file) whose ID is above count.
void keepFirstRows(const std::wstring& table, long long count,
                   QMXDAO::enDBNameType file = QMXDAO::DBNAME_MAIN);

// The timing of the save benchmarks: one long iteration, repeated 11 times, medians reported
// (run with --benchmark_enable_random_interleaving=true to interleave the repetitions; the
// environment variable QMXDAO_BENCH_REPETITIONS sets another count).
void timedInMilliseconds(benchmark::internal::Benchmark* b);

// --- SQLCipher directly ------------------------------------------------------------------------

// SQLCipher's raw-key form "x'<64 hex digits>'" of the database key for this file: PBKDF2-HMAC-
// SHA1 over the file's 16-byte salt, with SQLCipher 3's 64000 iterations.
std::string rawKeyOf(const std::filesystem::path& file);

// The shared shop's main file and its raw key, derived once. The library has derived its own key
// for the file when the shop filled ITEM, so neither side pays the derivation in a measurement.
struct RawShop {
  std::string path;
  std::string rawKey;
};
const RawShop& rawShop(QMXDAO::enDBNameType file = QMXDAO::DBNAME_MAIN);

inline void check(sqlite3* db, int rc, int expected = SQLITE_OK) {
  if (rc != expected) throw std::runtime_error(sqlite3_errmsg(db));
}

// One connection with the raw key; closed (and rolled back) when it goes. Its commits are as
// durable as the library's (the folder is synced after the journal's deletion), so that both
// sides of a comparison do the same work.
class RawDb {
 public:
  RawDb(const std::string& path, const std::string& rawKey, int busyTimeout) {
    check(db_, sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr));
    check(db_, sqlite3_key(db_, rawKey.data(), static_cast<int>(rawKey.size())));
    sqlite3_busy_timeout(db_, busyTimeout);
    exec("PRAGMA synchronous=EXTRA;");
  }
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;
  ~RawDb() { sqlite3_close_v2(db_); }

  sqlite3* get() const { return db_; }
  void exec(const char* sql) { check(db_, sqlite3_exec(db_, sql, nullptr, nullptr, nullptr)); }

 private:
  sqlite3* db_ = nullptr;
};

class RawStatement {
 public:
  RawStatement(sqlite3* db, const char* sql) : db_(db) {
    check(db, sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr));
  }
  RawStatement(const RawStatement&) = delete;
  RawStatement& operator=(const RawStatement&) = delete;
  ~RawStatement() { sqlite3_finalize(stmt_); }

  sqlite3_stmt* get() const { return stmt_; }
  int step() { return sqlite3_step(stmt_); }
  void run() {
    check(db_, step(), SQLITE_DONE);
    sqlite3_reset(stmt_);
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// A text column's UTF-8 bytes as a wide text; NULL gives the empty text.
std::wstring fromUtf8(const unsigned char* text, int bytes);

// The current local time as the library stamps it, "YYYY-MM-DD HH:MM:SS".
std::wstring nowText();
std::wstring nowText(std::time_t when);

// The same for a batch: the clock read for every record, the text formatted again only when its
// second has changed.
class NowStamp {
 public:
  const std::wstring& current();

 private:
  std::time_t second_ = 0;
  std::wstring text_;
};

}  // namespace qmxbench
