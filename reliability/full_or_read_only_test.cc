// A till whose disk is full, or whose database folder cannot be written: every write call fails
// with CppSQLite3Exception, stores nothing, and leaves a file that reads as before and takes
// writes again once there is room.
//
// The tests run as root in CI, where file modes stop no write. A real small or read-only file
// system is made instead: a tmpfs mounted on the shop's db folder (root may mount here). Where
// mounting is not permitted the full disk is imitated with the process's file-size limit
// (RLIMIT_FSIZE, in a child process), and a read-only folder by file modes when not root; as root
// without mount the read-only case is skipped, saying why.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "reliability/fault_helpers.h"
#include "testing/expect_engine_error.h"
#include "testing/temp_shop.h"
#include "tools/qmxdb/database_files.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using qmxdao::test::customerBatch;
using qmxdao::test::customerCount;
using qmxdao::test::integrityCheck;
using qmxdao::test::TempShop;

// A tmpfs of a given size mounted on a folder for the life of the object.
class SmallFileSystem {
 public:
  SmallFileSystem(const std::filesystem::path& folder, const std::string& size) : folder_(folder) {
    mounted_ = mount("tmpfs", folder_.c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    if (!mounted_) error_ = std::strerror(errno);
  }
  ~SmallFileSystem() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& error() const { return error_; }

  bool remount(unsigned long flags, const std::string& size) {
    return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | flags, ("size=" + size).c_str()) ==
           0;
  }

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
  std::string error_;
};

// A text that makes each customer row take about a kilobyte.
const std::wstring kFiller(900, L'x');

// Saves batches until one fails; that one must fail with the engine's exception and change
// nothing. Returns the failing call's error code, or 0 when none failed.
int fillUntilRefused(int* batchesStored) {
  CustomerDAOImpl dao;
  for (int batch = 0; batch < 1000; ++batch) {
    const long long before = customerCount();
    try {
      dao.save(customerBatch(batch, 100, kFiller));
    } catch (const CppSQLite3Exception& e) {
      EXPECT_EQ(customerCount(), before) << "a refused call stored some of its records";
      EXPECT_EQ(integrityCheck(), L"ok");
      *batchesStored = batch;
      std::cout << "[ figures  ] full after " << batch << " batches of 100: " << e.what()
                << std::endl;
      return e.errorCode();
    }
  }
  return 0;
}

constexpr int kSqliteFull = 13;
constexpr int kSqliteIoErr = 10;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteCantOpen = 14;

TEST(FullDisk, RefusedSaveStoresNothingAndTheFileRecovers) {
  TempShop shop;
  SmallFileSystem disk(shop.dbFolder(), "512k");
  if (disk.mounted()) {
    qmxdb::createDatabaseFiles(shop.dbFolder().wstring() + L"/");
    int stored = 0;
    EXPECT_EQ(fillUntilRefused(&stored), kSqliteFull);
    EXPECT_GT(stored, 0);
    // Room again: the same file takes the batch it refused.
    ASSERT_TRUE(disk.remount(0, "8m"));
    ASSERT_TRUE(CustomerDAOImpl().save(customerBatch(stored, 100, kFiller)));
    EXPECT_EQ(customerCount(), (stored + 1) * 100LL);
    EXPECT_EQ(integrityCheck(), L"ok");
    return;
  }

  // No mount here: a child process whose files may not grow beyond 256 KiB. Writing past the
  // limit fails with EFBIG (the signal it would raise is ignored), which the engine reports as a
  // full disk or a write error.
  std::cout << "[ note     ] cannot mount a tmpfs (" << disk.error()
            << "); imitating a full disk with RLIMIT_FSIZE\n";
  qmxdb::createDatabaseFiles(shop.dbFolder().wstring() + L"/");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{256 * 1024, 256 * 1024};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
    int stored = 0;
    const int code = fillUntilRefused(&stored);
    const bool ok = (code == kSqliteFull || code == kSqliteIoErr) && stored > 0 &&
                    !::testing::Test::HasFailure();
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  ASSERT_TRUE(CustomerDAOImpl().save(customerBatch(-1, 100, kFiller)));
  EXPECT_EQ(integrityCheck(), L"ok");
}

TEST(ReadOnlyFolder, WritesFailReadsGoOnNothingChanges) {
  TempShop shop;
  if (geteuid() != 0) {
    // File modes stop an ordinary user: the db folder takes no journal, and the file, though
    // GetDBName makes it writable again, cannot be changed without one.
    qmxdb::createDatabaseFiles(shop.dbFolder().wstring() + L"/");
    ASSERT_TRUE(CustomerDAOImpl().save(customerBatch(1, 10)));
    ASSERT_EQ(chmod(shop.mainFile().c_str(), 0444), 0);
    ASSERT_EQ(chmod(shop.dbFolder().c_str(), 0555), 0);
    qmxdao::test::expectEngineError([] { CustomerDAOImpl().save(customerBatch(2, 10)); },
                                    kSqliteCantOpen, L"unable to open database file");
    EXPECT_EQ(CustomerDAOImpl().count(), 10);
    chmod(shop.dbFolder().c_str(), 0755);
    return;
  }

  SmallFileSystem disk(shop.dbFolder(), "8m");
  if (!disk.mounted()) {
    GTEST_SKIP() << "running as root, where file modes do not stop writes, and a read-only "
                    "file system cannot be mounted here ("
                 << disk.error() << ")";
  }
  qmxdb::createDatabaseFiles(shop.dbFolder().wstring() + L"/");
  ASSERT_TRUE(CustomerDAOImpl().save(customerBatch(1, 10)));
  ASSERT_TRUE(disk.remount(MS_RDONLY, "8m"));

  CustomerDAOImpl dao;
  const std::wstring readOnly = L"attempt to write a readonly database";
  qmxdao::test::expectEngineError([&] { dao.save(customerBatch(2, 10)); }, kSqliteReadOnly,
                                  readOnly);
  qmxdao::test::expectEngineError([&] { dao.add(customerBatch(3, 10)); }, kSqliteReadOnly,
                                  readOnly);
  qmxdao::test::expectEngineError([&] { dao.delet(std::vector<long long>{1}); }, kSqliteReadOnly,
                                  readOnly);
  qmxdao::test::expectEngineError(
      [] { QMXDAO::Utility::execDML(L"delete from CUSTOMER", QMXDAO::DBNAME_MAIN); },
      kSqliteReadOnly, readOnly);
  EXPECT_EQ(dao.count(), 10);
  EXPECT_EQ(dao.findBySQL(L"select * from CUSTOMER where ORG = 'org-1'").size(), 10u);

  ASSERT_TRUE(disk.remount(0, "8m"));
  EXPECT_TRUE(dao.save(customerBatch(2, 10)));
  EXPECT_EQ(dao.count(), 20);
}

}  // namespace
#else
#include <gtest/gtest.h>

TEST(FullDisk, RefusedSaveStoresNothingAndTheFileRecovers) {
  GTEST_SKIP() << "needs a mounted tmpfs or a POSIX file-size limit";
}
TEST(ReadOnlyFolder, WritesFailReadsGoOnNothingChanges) {
  GTEST_SKIP() << "needs a read-only tmpfs mount";
}
#endif
