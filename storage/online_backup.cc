#include "storage/online_backup.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <chrono>
#include <thread>

#include "storage/engine_access.h"
#include "storage/engine_error.h"

namespace qmxdao {
namespace {

// A lock held by another connection is waited for in short sleeps.
constexpr auto kBusyPause = std::chrono::milliseconds(20);

// Owns the engine's backup object and the source's read transaction, and ends both on every path.
class BackupRun {
 public:
  BackupRun(sqlite3* source, sqlite3* target, const BackupOptions& options)
      : source_(source), options_(options) {
    backup_ = sqlite3_backup_init(target, "main", source, "main");
    if (backup_ == nullptr) throwEngineError(target, sqlite3_errcode(target));
  }
  BackupRun(const BackupRun&) = delete;
  BackupRun& operator=(const BackupRun&) = delete;
  ~BackupRun() {
    if (backup_ != nullptr) sqlite3_backup_finish(backup_);
    endSnapshot();
  }

  // One step of at most pages pages (-1: all the rest), waiting for locks within the busy
  // timeout. Returns true when the copy is complete.
  bool step(int pages) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
      const int rc = sqlite3_backup_step(backup_, pages);
      if (rc == SQLITE_DONE) return true;
      if (rc == SQLITE_OK) return false;
      const bool busy = rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
      if (!busy || std::chrono::steady_clock::now() - start >
                       std::chrono::milliseconds(options_.busyTimeout)) {
        throwEngineError(nullptr, rc);
      }
      std::this_thread::sleep_for(kBusyPause);
    }
  }

  long long total() const { return sqlite3_backup_pagecount(backup_); }
  long long copied() const { return total() - sqlite3_backup_remaining(backup_); }
  // Before the first step the engine knows no page count yet; the source's own is asked then.
  bool lastStretch() const {
    long long remaining = total() > 0 ? sqlite3_backup_remaining(backup_) : sourcePages();
    return remaining <= options_.pagesPerStep;
  }

  long long sourcePages() const {
    sqlite3_stmt* stmt = nullptr;
    long long pages = 0;
    if (sqlite3_prepare_v2(source_, "PRAGMA page_count;", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      pages = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    return pages;
  }

  void beginSnapshot() {
    // The read makes the transaction take the source's read lock now, not at the first step.
    const int rc = sqlite3_exec(source_, "BEGIN; SELECT count(*) FROM sqlite_master;", nullptr,
                                nullptr, nullptr);
    if (rc != SQLITE_OK) throwEngineError(source_, rc);
    inSnapshot_ = true;
  }
  void endSnapshot() {
    if (inSnapshot_) sqlite3_exec(source_, "COMMIT;", nullptr, nullptr, nullptr);
    inSnapshot_ = false;
  }

  void finish(sqlite3* target) {
    const int rc = sqlite3_backup_finish(backup_);
    backup_ = nullptr;
    if (rc != SQLITE_OK) throwEngineError(target, rc);
  }

 private:
  sqlite3* source_;
  const BackupOptions& options_;
  sqlite3_backup* backup_ = nullptr;
  bool inSnapshot_ = false;
};

}  // namespace

void OnlineBackup::copy(CppSQLite3DB& source, CppSQLite3DB& target, const BackupOptions& options,
                        const Progress& progress, const AtSnapshot& atSnapshot) {
  BackupRun run(EngineAccess::handle(source), EngineAccess::handle(target), options);
  auto report = [&] {
    if (progress) progress(run.copied(), run.total());
  };

  // Steps between which writers commit, until the rest fits one step or writers keep making the
  // engine start again.
  int restarts = 0;
  long long lastCopied = 0;
  bool done = false;
  while (!done && !run.lastStretch() && restarts < options.restartsBeforeSnapshot) {
    done = run.step(options.pagesPerStep);
    if (run.copied() < lastCopied) ++restarts;
    lastCopied = run.copied();
    report();
  }
  if (done) {
    // A commit shrank the source so that a step completed the copy outside the snapshot: copy it
    // again inside one, so that atSnapshot reads what the copy holds.
    run.finish(EngineAccess::handle(target));
    copy(source, target, BackupOptions{-1, 0, options.busyTimeout}, progress, atSnapshot);
    return;
  }

  // Nobody commits to the source while its read transaction lasts, so the engine does not start
  // again here and the copy ends holding exactly what atSnapshot saw.
  run.beginSnapshot();
  if (atSnapshot) atSnapshot(source);
  while (!run.step(options.pagesPerStep)) report();
  report();
  run.endSnapshot();
  run.finish(EngineAccess::handle(target));
}

}  // namespace qmxdao
