// The backup's byte copy on real keyed files: taken inside the source's read lock (a writer's
// commit waits for it, the copy holds the committed rows only), given up when the lock is not
// had in time, and refused when a page of the source is damaged, even one no row lives on.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "storage/connection.h"
#include "storage/locked_file_copy.h"
#include "testing/file_bytes.h"
#include "testing/temp_shop.h"
#include "tools/qmxdb/database_copy.h"

namespace fs = std::filesystem;

namespace {

using qmxdao::test::TempShop;

constexpr int kBusy = 5;

long long itemCount(const fs::path& file) {
  auto db = qmxdao::openConnection(file.wstring(), qmxdao::kReadBusyTimeout);
  CppSQLite3Query query = db->execQuery(L"select count(*) from ITEM;");
  const long long count = query.getInt64Field(0);
  query.finalize();
  db->close();
  return count;
}

void addItems(CppSQLite3DB& db, int first, int count) {
  db.execDML((L"with recursive n(i) as (select " + std::to_wstring(first) +
              L" union all select i + 1 from n where i < " + std::to_wstring(first + count - 1) +
              L") insert into ITEM (ID, UPC, ORG) select i, 'upc' || i, 'shop' from n;")
                 .c_str());
}

TEST(BackupByteCopy, HoldsOffCommitsWhileCopyingAndGivesUpOnABusyLock) {
  TempShop shop(TempShop::Layout::kInstalled);
  const fs::path copy = shop.folder() / "QMX.copy";
  {
    auto db = qmxdao::openConnection(shop.mainFile().wstring(), qmxdao::kWriteBusyTimeout);
    addItems(*db, 1, 3000);
    db->close();
  }
  // Another connection is inside a write transaction with a row not committed yet.
  CppSQLite3DB writer;
  writer.open(shop.mainFile().wstring().c_str(), qmxdao::kDatabaseKey);
  writer.execDML(L"begin immediate transaction;");
  addItems(writer, 5000, 1);
  int commitsTried = 0;
  auto tryCommit = [&](long long, long long) {
    if (commitsTried++ > 0) return;
    try {
      writer.execDML(L"commit transaction;");
      ADD_FAILURE() << "a writer committed in the middle of the copy";
    } catch (const CppSQLite3Exception& e) {
      EXPECT_EQ(e.errorCode(), kBusy);
    }
  };
  const qmxdb::RowCounts rows =
      qmxdb::backupDatabaseFile(shop.mainFile().wstring(), copy.wstring(), tryCommit);
  EXPECT_GT(commitsTried, 0);
  EXPECT_EQ(rows.at("ITEM"), 3000);
  EXPECT_EQ(itemCount(copy), 3000);
  EXPECT_FALSE(fs::exists(copy.string() + ".partial"));
  writer.execDML(L"commit transaction;");  // the copy done, the writer's commit goes through
  EXPECT_EQ(itemCount(shop.mainFile()), 3001);

  // A writer that keeps the file's exclusive lock past the wait: nothing is copied.
  auto source = qmxdao::openConnection(shop.mainFile().wstring(), 50);
  writer.execDML(L"begin exclusive transaction;");
  const fs::path second = shop.folder() / "second.copy";
  EXPECT_FALSE(qmxdao::LockedFileCopy::copy(*source, second.wstring(), nullptr, nullptr));
  EXPECT_FALSE(fs::exists(second));
  writer.execDML(L"commit transaction;");
  writer.close();
}

TEST(BackupByteCopy, RefusesASourceWithADamagedPageThatNoRowLivesOn) {
  TempShop shop(TempShop::Layout::kInstalled);
  {
    auto db = qmxdao::openConnection(shop.mainFile().wstring(), qmxdao::kWriteBusyTimeout);
    addItems(*db, 1, 100);
    // A large value, then dropped: its pages stay in the file, on the free list.
    db->execDML(L"create table SCRATCH (V);");
    db->execDML(L"insert into SCRATCH values (zeroblob(200000));");
    db->execDML(L"drop table SCRATCH;");
    db->close();
  }
  std::string bytes = qmxdao::test::readFileBytes(shop.mainFile());
  bytes[bytes.size() - 5 * 1024 + 300] ^= 0x08;
  qmxdao::test::writeFileBytes(shop.mainFile(), bytes);
  EXPECT_EQ(itemCount(shop.mainFile()), 100);  // the rows still read

  const fs::path copy = shop.folder() / "QMX.copy";
  try {
    qmxdb::backupDatabaseFile(shop.mainFile().wstring(), copy.wstring(), nullptr);
    ADD_FAILURE() << "a damaged file was copied";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("HMAC verification failed for page"), std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(fs::exists(copy));
  EXPECT_FALSE(fs::exists(copy.string() + ".partial"));
}

}  // namespace
