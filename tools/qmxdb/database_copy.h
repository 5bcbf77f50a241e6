// Copying the shop's database files away and putting a copy back, while the application may be
// using them. A copy is the file's bytes, read while the source is held in a read transaction (no
// writer commits meanwhile; never a plain copy of a file that may be mid-write), or, when that
// lock is not had in time, the engine's online backup. It is verified before it is put in place:
// every page's HMAC checks out and its tables' row counts equal those the source held at the
// state the copy was taken from; it is synced to disk, and so is its folder after the rename.
// Putting a copy back waits, within a busy timeout, until no other connection is inside a
// transaction on the file, keeps the replaced file beside it and replaces it in one rename.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace qmxdb {

using RowCounts = std::map<std::string, long long>;  // table name to its row count

// Pages copied so far and the page count of the source, now and then during a copy.
using CopyProgress = std::function<void(long long copiedPages, long long totalPages)>;

// Copies the database file source into target through target + ".partial", which it renames to
// target once verified (an existing target is replaced: the caller decides whether it may be).
// Returns the copy's row counts. Throws CppSQLite3Exception when the engine fails and
// std::runtime_error when the copy does not verify; no target is written then.
RowCounts backupDatabaseFile(const std::wstring& source, const std::wstring& target,
                             const CopyProgress& progress);

// The row count of every table of the file.
RowCounts countRows(const std::wstring& path);

// A file that an application holds inside a transaction for longer than the wait.
class FileBusyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Replaces the database file live with a byte copy of the (checked, quiet) file copy: the old
// file is kept as live + ".before-restore" (an older one there is replaced). Waits up to
// waitMilliseconds for other connections' transactions on live to end, and throws FileBusyError
// when they do not, leaving live as it was.
void restoreDatabaseFile(const std::wstring& copy, const std::wstring& live, int waitMilliseconds);

}  // namespace qmxdb
