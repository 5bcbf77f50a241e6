// The database files on disk: where they lie (under the host executable's folder, real or
// redirected for tests), the read-only attribute that GetDBName clears on the way, and the key as
// the stock sqlcipher shell knows it: files move both ways with "PRAGMA key='KRD1987';" only, and
// ResetDBKey turns a plain file into a keyed one (leaving a keyed one, or another key's, alone).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "qmxdao/storage/Utility.h"
#include "storage/platform.h"
#include "testing/expect_engine_error.h"
#include "testing/file_bytes.h"
#include "testing/host_system.h"
#include "testing/temp_shop.h"

namespace {

using namespace QMXDAO;
using qmxdao::test::quotedForShell;
using qmxdao::test::readFileBytes;
using qmxdao::test::TempShop;

// Debian's sqlcipher shell, a Linux program: on Windows the script that runs the suite checks
// the files in the shell instead.
class KeyInterop : public testing::Test {
  void SetUp() override {
    if (qmxdao::test::kOnWindows) GTEST_SKIP() << "the stock sqlcipher shell is a Linux program";
  }
};

TEST(UtilityGetDBName, FileOfEachTypeUnderTheHostFolder) {
  const wchar_t separator = qmxdao::platform::folderSeparator();
  qmxdao::platform::setHostFolderForTesting(L"");
  EXPECT_EQ(Utility::GetCurrWorkingDir(),
            qmxdao::test::executablePath().parent_path().wstring() + separator);
  TempShop shop(TempShop::Layout::kNoDbFolder);
  EXPECT_EQ(Utility::GetCurrWorkingDir(), shop.folder().wstring() + separator);
  const std::wstring db = shop.folder().wstring() + separator + L"db" + separator;
  EXPECT_EQ(Utility::GetDBName(DBNAME_DEFAULT), db + L"QMX.db");
  EXPECT_EQ(Utility::GetDBName(DBNAME_MAIN), db + L"QMX.db");
  EXPECT_EQ(Utility::GetDBName(DBNAME_SALE), db + L"SALE.db");
  EXPECT_FALSE(std::filesystem::exists(shop.dbFolder())) << "a missing folder is not created";
}

TEST(UtilityGetDBName, ReadOnlyFileBecomesWritableKeepingItsOtherBits) {
  if (qmxdao::test::kOnWindows) {
    GTEST_SKIP() << "POSIX mode bits; the read-only attribute has a test of its own on Windows";
  }
  TempShop shop;
  auto modeOf = [](const std::filesystem::path& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.string().c_str(), &status), 0) << path;
    return static_cast<unsigned>(status.st_mode & 07777);
  };
  ASSERT_EQ(chmod(shop.mainFile().string().c_str(), 0454), 0);
  Utility::GetDBName(DBNAME_MAIN);
  EXPECT_EQ(modeOf(shop.mainFile()), 0654u);
  // Every operation goes through GetDBName, so it writes to a file installed read-only.
  ASSERT_EQ(chmod(shop.saleFile().string().c_str(), 0444), 0);
  Utility::execDML(L"create table T (V text)", DBNAME_SALE);
  EXPECT_EQ(modeOf(shop.saleFile()), 0644u);
}

const std::string kShellKey = "PRAGMA key='KRD1987';\n";
const std::string kSelect = "select ID, NAME from T order by ID;\n";
const std::string kCreate =
    "create table T (ID integer primary key, NAME text);\n"
    "create index T_NAME on T (NAME);\ninsert into T values ";

// What the shell prints for a script, or its error text.
std::string shell(const std::filesystem::path& file, const std::string& script) {
  const auto scratch = file.parent_path().parent_path() / "shell";
  qmxdao::test::writeFileBytes(scratch.string() + ".sql", script);
  const int status = qmxdao::test::runCommand("sqlcipher -batch -bail " + quotedForShell(file) +
                                              " <" + quotedForShell(scratch.string() + ".sql") +
                                              " >" + quotedForShell(scratch.string() + ".out") +
                                              " 2>" + quotedForShell(scratch.string() + ".err"));
  return status == 0 ? readFileBytes(scratch.string() + ".out")
                     : "error: " + readFileBytes(scratch.string() + ".err");
}

// The rows of T as the library reads them, in the shell's layout.
std::wstring libraryRows(enDBNameType type) {
  const wchar_t* sql = L"select group_concat(ID || '|' || NAME || char(10), '') R from T";
  return Utility::SearchBySQL(sql, type).at(0)[L"R"];
}

TEST_F(KeyInterop, KeyedFilesMoveBothWaysBetweenTheLibraryAndTheShell) {
  TempShop shop;  // keyed databases that hold no table yet
  Utility::execDML(L"create table T (ID integer primary key, NAME text)", DBNAME_MAIN);
  Utility::execDML(L"insert into T values (1, 'caf\u00e9')", DBNAME_MAIN);  // with the cached key
  EXPECT_EQ(shell(shop.mainFile(), kShellKey + kSelect), "1|caf\xc3\xa9\n");
  EXPECT_NE(shell(shop.mainFile(), kSelect).find("file is encrypted"), std::string::npos);

  ASSERT_EQ(shell(shop.saleFile(), kShellKey + kCreate + "(1, 'tea'), (2, 'caf\xc3\xa9');\n"), "");
  EXPECT_EQ(libraryRows(DBNAME_SALE), L"1|tea\n2|caf\u00e9\n");
  // A new file on the same path has a new salt: the key derived for the old one must not serve.
  std::filesystem::remove(shop.saleFile());
  ASSERT_EQ(shell(shop.saleFile(), kShellKey + kCreate + "(7, 'new');\n"), "");
  Utility::execDML(L"insert into T values (8, 'library')", DBNAME_SALE);
  EXPECT_EQ(shell(shop.saleFile(), kShellKey + kSelect), "7|new\n8|library\n");
}

TEST_F(KeyInterop, ResetDBKeyKeysAPlainFileOnceAndRefusesAnotherKey) {
  TempShop shop(TempShop::Layout::kEmptyDbFolder);  // the shell makes the files
  ASSERT_EQ(shell(shop.saleFile(),
                  "PRAGMA user_version = 7;\n" + kCreate + "(1, 'tea'), (2, 'caf\xc3\xa9');\n"),
            "");
  Utility::ResetDBKey(L"", L"", DBNAME_SALE);
  const std::string keyed = readFileBytes(shop.saleFile());
  // A second call, with other texts, finds the file keyed already and leaves it as it is.
  Utility::ResetDBKey(L"KRD1987", L"anything", DBNAME_SALE);
  EXPECT_TRUE(readFileBytes(shop.saleFile()) == keyed);
  EXPECT_EQ(shell(shop.saleFile(), kShellKey + kSelect), "1|tea\n2|caf\xc3\xa9\n");
  EXPECT_NE(shell(shop.saleFile(), kSelect).find("file is encrypted"), std::string::npos);
  // The library opens it, and the index and the schema version came along.
  EXPECT_EQ(Utility::GetCreateIndexByTableName(L"T", DBNAME_SALE).size(), 1u);
  EXPECT_EQ(Utility::SearchBySQL(L"PRAGMA user_version", DBNAME_SALE)[0][L"user_version"], L"7");

  ASSERT_EQ(shell(shop.mainFile(), "PRAGMA key='other';\n" + kCreate + "(1, 'tea');\n"), "");
  const std::string before = readFileBytes(shop.mainFile());
  qmxdao::test::expectEngineError([] { Utility::ResetDBKey(L"", L"", DBNAME_MAIN); }, 26,
                                  L"file is not a database");
  EXPECT_TRUE(readFileBytes(shop.mainFile()) == before);
}

}  // namespace
