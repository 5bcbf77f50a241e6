// The database files on disk: where they lie (under the host executable's folder, real or
// redirected for tests), the read-only attribute that GetDBName clears on the way, and the key as
// the stock sqlcipher shell knows it: files move both ways with "PRAGMA key='KRD1987';" only, and
// ResetDBKey turns a plain file into a keyed one (leaving a keyed one, or another key's, alone).
// The engine's own crypto provider writes what SQLCipher's stock one reads, and back, with a fresh
// IV on every page.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "storage/engine/crypto_provider.h"
#include "storage/platform.h"
#include "storage/text_codec.h"
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

// In one process, switching providers between connections: a re-key in place by ours (its
// cipher and HMAC contexts meet both keys) and the stock provider's writes included.
TEST(EngineCrypto, OurProviderAndTheStockOneReadEachOthersFilesWithFreshIVs) {
  TempShop shop;
  struct OursAgain {
    ~OursAgain() { qmxdao_engine_use_crypto(QMXDAO_CRYPTO_OWN); }
  } oursAgain;
  auto open = [](const std::filesystem::path& file, const wchar_t* key, const char* crypto) {
    EXPECT_EQ(qmxdao_engine_use_crypto(crypto), 0);
    auto db = std::make_unique<CppSQLite3DB>();
    db->open(file.wstring().c_str(), key);
    EXPECT_EQ(qmxdao::toUtf8(db->execQuery(L"PRAGMA cipher_provider").fieldValue(0)), crypto);
    return db;
  };
  auto rows = [](CppSQLite3DB& db) -> std::wstring {
    return db.execQuery(L"select count(*) || group_concat(ID || NAME) from T").fieldValue(0);
  };
  std::wstring written;
  for (const auto& file : {shop.mainFile(), shop.saleFile()}) {  // the same pages twice
    auto db = open(file, L"KRD1987", QMXDAO_CRYPTO_OWN);
    db->execDML(L"create table T (ID integer primary key, NAME text)");
    db->execDML(
        L"with recursive N(I) as (select 1 union all select I + 1 from N where I < 300) "
        L"insert into T select I, printf('row %d %.100c', I, 'x') from N");
    written = rows(*db);
  }
  // Each 1024-byte page ends in 48 reserved bytes: its 16-byte IV, its HMAC, padding.
  std::set<std::string> ivs;
  size_t pages = 0;
  for (const auto& file : {shop.mainFile(), shop.saleFile()}) {
    const std::string bytes = readFileBytes(file);
    for (size_t page = 0; page + 1024 <= bytes.size(); page += 1024, ++pages) {
      ivs.insert(bytes.substr(page + 1024 - 48, 16));
    }
  }
  EXPECT_GT(pages, 60u);
  EXPECT_EQ(ivs.size(), pages) << "an IV used twice";

  EXPECT_EQ(rows(*open(shop.mainFile(), L"KRD1987", QMXDAO_CRYPTO_STOCK)), written);
  open(shop.mainFile(), L"KRD1987", QMXDAO_CRYPTO_STOCK)->execDML(L"delete from T where ID > 200");
  auto ours = open(shop.mainFile(), L"KRD1987", QMXDAO_CRYPTO_OWN);
  written = rows(*ours);
  EXPECT_EQ(written.substr(0, 3), L"200");
  ours->execDML(L"update T set NAME = upper(NAME) where ID % 3 = 0");
  written = rows(*ours);
  ours->execQuery(L"PRAGMA rekey = 'other'");
  ours.reset();
  EXPECT_EQ(rows(*open(shop.mainFile(), L"other", QMXDAO_CRYPTO_STOCK)), written);
  qmxdao::test::expectEngineError([&] { open(shop.mainFile(), L"KRD1987", QMXDAO_CRYPTO_STOCK); },
                                  26, L"not a database");
}

}  // namespace
