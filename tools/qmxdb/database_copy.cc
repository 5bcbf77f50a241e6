#include "tools/qmxdb/database_copy.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "storage/connection.h"
#include "storage/locked_file_copy.h"
#include "storage/online_backup.h"
#include "storage/platform.h"
#include "tools/qmxdb/utf8_text.h"

namespace fs = std::filesystem;

namespace qmxdb {
namespace {

// The engine's code for a lock that was not had within the busy timeout.
constexpr int kBusy = 5;

RowCounts countRowsOf(CppSQLite3DB& db) {
  std::vector<std::wstring> tables;
  {
    CppSQLite3Query query = db.execQuery(
        L"select name from sqlite_master where type='table' and name not like 'sqlite\\_%' "
        L"escape '\\' order by name;");
    for (; !query.eof(); query.nextRow()) tables.push_back(query.getStringField(0));
    query.finalize();
  }
  RowCounts counts;
  for (const std::wstring& table : tables) {
    std::wstring quoted = L"\"";
    for (wchar_t c : table) quoted += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
    CppSQLite3Query query = db.execQuery((L"select count(*) from " + quoted + L"\";").c_str());
    counts[toUtf8(table)] = query.getInt64Field(0);
    query.finalize();
  }
  return counts;
}

void removeQuietly(const fs::path& file) {
  std::error_code ignored;
  fs::remove(file, ignored);
}

// The engine's online backup into a new file, for when the source's read lock cannot be held for
// a whole byte copy: writers commit between its steps.
void copyPageByPage(CppSQLite3DB& from, const std::wstring& partial, const CopyProgress& progress,
                    const qmxdao::OnlineBackup::AtSnapshot& atSnapshot) {
  // The copy is a new file: the engine object's own open creates it (library calls open
  // existing files only).
  auto to = std::make_shared<CppSQLite3DB>();
  to->open(partial.c_str(), qmxdao::kDatabaseKey);
  to->setBusyTimeout(qmxdao::kWriteBusyTimeout);
  // The new file has nothing to roll back to: a failed copy is removed, so it needs no
  // journal. The copy is still synced to disk once, when it commits.
  to->execQuery(L"PRAGMA journal_mode=OFF;").finalize();
  qmxdao::BackupOptions options;
  options.busyTimeout = qmxdao::kWriteBusyTimeout;
  qmxdao::OnlineBackup::copy(from, *to, options, progress, atSnapshot);
  to->close();
}

// Every table of the copy must hold the rows its source held and, where checkPages says so,
// every page must carry its own HMAC. Returns the row counts.
RowCounts checkCopy(const std::wstring& partial, const std::wstring& target,
                    const RowCounts& expected, bool checkPages) {
  auto copy = qmxdao::openConnection(partial, qmxdao::kReadBusyTimeout);
  std::string damage;
  if (checkPages) {
    CppSQLite3Query query = copy->execQuery(L"PRAGMA cipher_integrity_check;");
    if (!query.eof()) damage = toUtf8(query.getStringField(0));
    query.finalize();
  }
  if (!damage.empty()) {
    throw std::runtime_error("the copy " + toUtf8(target) + " fails its page check (" + damage +
                             "); nothing was kept");
  }
  const RowCounts copied = countRowsOf(*copy);
  copy->close();
  if (copied != expected) {
    throw std::runtime_error("the copy " + toUtf8(target) +
                             " does not hold the rows of its source; nothing was kept");
  }
  return copied;
}

}  // namespace

RowCounts countRows(const std::wstring& path) {
  auto db = qmxdao::openConnection(path, qmxdao::kReadBusyTimeout);
  RowCounts counts = countRowsOf(*db);
  db->close();
  return counts;
}

RowCounts backupDatabaseFile(const std::wstring& source, const std::wstring& target,
                             const CopyProgress& progress) {
  const std::wstring partial = target + L".partial";
  removeQuietly(filePath(partial));
  RowCounts expected;
  auto countSource = [&](CppSQLite3DB& snapshot) { expected = countRowsOf(snapshot); };
  try {
    // The busy timeout bounds the wait for the read lock of the byte copy.
    auto from = qmxdao::openConnection(source, qmxdao::kReadBusyTimeout);
    // The byte copy checks every page's HMAC as it copies; the online backup writes every page
    // anew, so its copy is checked afterwards.
    const bool copiedBytes = qmxdao::LockedFileCopy::copy(*from, partial, progress, countSource);
    if (!copiedBytes) {
      from->setBusyTimeout(qmxdao::kWriteBusyTimeout);
      copyPageByPage(*from, partial, progress, countSource);
    }
    from->close();

    const RowCounts copied = checkCopy(partial, target, expected, !copiedBytes);
    if (!qmxdao::platform::replaceFile(partial, target)) {
      throw std::runtime_error("the copy " + toUtf8(target) + " cannot be put in place");
    }
    return copied;
  } catch (...) {
    removeQuietly(filePath(partial));
    throw;
  }
}

void restoreDatabaseFile(const std::wstring& copy, const std::wstring& live, int waitMilliseconds) {
  const fs::path livePath = filePath(live);
  const fs::path incoming = filePath(live + L".restore");
  const fs::path kept = filePath(live + L".before-restore");
  fs::create_directories(livePath.parent_path());
  fs::copy_file(filePath(copy), incoming, fs::copy_options::overwrite_existing);

  try {
    // Holding the file's exclusive lock, no other connection is inside a transaction on it and
    // none can begin one; a hot journal left by a killed writer has been rolled back.
    std::shared_ptr<CppSQLite3DB> lock;
    if (fs::exists(livePath)) {
      try {
        lock = qmxdao::openConnection(live, waitMilliseconds);
        lock->execDML(L"begin exclusive transaction;");
      } catch (const CppSQLite3Exception& e) {
        if (e.errorCode() == kBusy) {
          throw FileBusyError(toUtf8(live) + " is in use by another program (waited " +
                              std::to_string(waitMilliseconds / 1000) +
                              " s); it was left as it was");
        }
        lock.reset();  // a damaged file: nobody can be using it
      }
      fs::copy_file(livePath, kept, fs::copy_options::overwrite_existing);
    }
    // A journal beside a file the engine could not open belongs to the old file; it must not be
    // played back into the restored one.
    const fs::path journal = filePath(live + L"-journal");
    if (lock == nullptr && fs::exists(journal)) {
      fs::rename(journal, filePath(live + L".before-restore-journal"));
    }
    // Where an open file cannot be renamed over, the lock is let go first.
    std::error_code renamed;
    fs::rename(incoming, livePath, renamed);
    if (lock != nullptr) lock.reset();
    if (renamed) fs::rename(incoming, livePath);
  } catch (...) {
    removeQuietly(incoming);
    throw;
  }
}

}  // namespace qmxdb
