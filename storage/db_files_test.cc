// Where the database files lie: the host executable's folder (real, and redirected for tests),
// the file of each type, and the read-only attribute that GetDBName clears on the way.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "qmxdao/storage/Utility.h"
#include "storage/platform.h"
#include "testing/host_system.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_DEFAULT;
using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::enDBNameType;
using QMXDAO::Utility;
using qmxdao::test::TempShop;

// A path under a folder, in the system's own separators ("db/QMX.db" or "db\\QMX.db").
std::wstring under(std::wstring folder, const std::wstring& relative) {
  for (wchar_t c : relative) folder.push_back(c == L'/' ? qmxdao::platform::folderSeparator() : c);
  return folder;
}

unsigned modeOf(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(stat(path.string().c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

TEST(UtilityGetCurrWorkingDir, RealLookupGivesTheExecutablesFolder) {
  qmxdao::platform::setHostFolderForTesting(L"");
  const std::wstring folder = under(qmxdao::test::executablePath().parent_path().wstring(), L"/");
  EXPECT_EQ(Utility::GetCurrWorkingDir(), folder);
  EXPECT_EQ(Utility::GetDBName(DBNAME_SALE), under(folder, L"db/SALE.db"));
}

TEST(UtilityGetDBName, FileOfEachTypeUnderTheHostFolder) {
  TempShop shop(TempShop::Layout::kNoDbFolder);
  const std::wstring host = under(shop.folder().wstring(), L"/");
  EXPECT_EQ(Utility::GetCurrWorkingDir(), host);
  EXPECT_EQ(Utility::GetDBName(DBNAME_DEFAULT), under(host, L"db/QMX.db"));
  EXPECT_EQ(Utility::GetDBName(DBNAME_MAIN), under(host, L"db/QMX.db"));
  EXPECT_EQ(Utility::GetDBName(DBNAME_SALE), under(host, L"db/SALE.db"));
  EXPECT_EQ(Utility::GetDBName(static_cast<enDBNameType>(3)), under(host, L"db/"));
  EXPECT_EQ(Utility::GetDBName(static_cast<enDBNameType>(-1)), under(host, L"db/"));
  // A missing file or folder is no error and is not created.
  EXPECT_FALSE(std::filesystem::exists(shop.dbFolder()));
}

TEST(UtilityGetDBName, ReadOnlyFileBecomesWritableKeepingItsOtherBits) {
  if (qmxdao::test::kOnWindows) {
    GTEST_SKIP() << "POSIX mode bits; the read-only attribute has a test of its own on Windows";
  }
  TempShop shop;
  Utility::execDML(L"create table T (V text)", DBNAME_MAIN);
  Utility::execDML(L"create table T (V text)", DBNAME_SALE);

  ASSERT_EQ(chmod(shop.mainFile().string().c_str(), 0454), 0);
  Utility::GetDBName(DBNAME_MAIN);
  EXPECT_EQ(modeOf(shop.mainFile()), 0654u);

  ASSERT_EQ(chmod(shop.mainFile().string().c_str(), 0444), 0);
  Utility::GetDBName(DBNAME_DEFAULT);
  EXPECT_EQ(modeOf(shop.mainFile()), 0644u);

  ASSERT_EQ(chmod(shop.saleFile().string().c_str(), 0400), 0);
  Utility::GetDBName(DBNAME_SALE);
  EXPECT_EQ(modeOf(shop.saleFile()), 0600u);

  // A writable file keeps its mode exactly.
  ASSERT_EQ(chmod(shop.saleFile().string().c_str(), 0751), 0);
  Utility::GetDBName(DBNAME_SALE);
  EXPECT_EQ(modeOf(shop.saleFile()), 0751u);

  // Every operation goes through GetDBName, so it writes to a file installed read-only.
  ASSERT_EQ(chmod(shop.mainFile().string().c_str(), 0444), 0);
  EXPECT_EQ(Utility::execDML(L"insert into T values ('x')", DBNAME_MAIN), 1);
  EXPECT_EQ(modeOf(shop.mainFile()), 0644u);
}

}  // namespace
