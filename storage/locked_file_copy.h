// LockedFileCopy: a copy of a database file's bytes, made while the source connection holds a
// read transaction, so that no other connection can commit until the copy is complete. The bytes
// are read through the engine's own handle of the file: on POSIX, a second descriptor of the same
// file, once closed, would drop every lock this process holds on it; on Windows, the engine's
// lock bytes (the page at 1 GB) are not read at all, since the engine never stores anything
// there. The pages stay encrypted as they are: a keyed file copies at the speed of the disk. Each
// page's HMAC is checked, with the source's own keys, on the bytes about to be written.
// Internal to the library's objects (the qmxdb tool links them); not exported.
#pragma once

#include <functional>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"

namespace qmxdao {

class LockedFileCopy {
 public:
  // Bytes are reported as pages copied so far and the file's page count.
  using Progress = std::function<void(long long copiedPages, long long totalPages)>;
  // Called once, inside the read transaction, before the bytes are read: what it reads of source
  // is what the copy holds.
  using AtSnapshot = std::function<void(CppSQLite3DB& source)>;

  // Copies source's main database file into a new file at target (an existing one is replaced)
  // and syncs it to disk. source is open and outside any transaction; its busy timeout bounds the
  // wait for the read lock. Returns false, having written nothing, when the lock was not had in
  // that time or when the file alone is not the whole database (write-ahead logging); throws
  // CppSQLite3Exception when the engine or the file system fails, or a page fails its HMAC check
  // (code 11), and target is removed then. The source must be keyed.
  static bool copy(CppSQLite3DB& source, const std::wstring& target, const Progress& progress,
                   const AtSnapshot& atSnapshot);
};

}  // namespace qmxdao
