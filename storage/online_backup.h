// OnlineBackup: the engine's page-by-page copy of one open database into another, made while
// other connections go on reading and writing the source. Steps of a few thousand pages let
// writers commit between them; a commit makes the engine start again from the first page. The
// last stretch (or the whole copy, after a few such restarts) is copied inside one read
// transaction of the source, in which the caller may read the source too (to count its rows):
// what it reads there is exactly what the copy holds. Writers wait for that stretch within their
// own busy timeout. Internal to the library's objects (the qmxdb tool links them); not exported.
#pragma once

#include <functional>

#include "qmxdao/storage/CppSQLite3DB.h"

namespace qmxdao {

struct BackupOptions {
  int pagesPerStep = 4096;
  int restartsBeforeSnapshot = 2;
  // How long a step waits, in milliseconds, for a lock on either file before it gives up.
  int busyTimeout = 10000;
};

class OnlineBackup {
 public:
  // Pages copied so far and the source's page count, after each step.
  using Progress = std::function<void(long long copiedPages, long long totalPages)>;
  // Called once, inside the source's read transaction that the copy completes in.
  using AtSnapshot = std::function<void(CppSQLite3DB& source)>;

  // Copies every page of source's main database into target's, replacing target's content; both
  // are open (with their keys) and outside any transaction. Throws CppSQLite3Exception when the
  // engine fails or a lock is not had within the busy timeout.
  static void copy(CppSQLite3DB& source, CppSQLite3DB& target, const BackupOptions& options,
                   const Progress& progress, const AtSnapshot& atSnapshot);
};

}  // namespace qmxdao
