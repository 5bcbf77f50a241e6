// The database key as the stock sqlcipher shell knows it: files the library writes open there
// with "PRAGMA key='KRD1987';", files keyed there open in the library, and ResetDBKey turns a
// plain installation file into a keyed one (harmlessly when it is keyed already).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "testing/expect_engine_error.h"
#include "testing/file_bytes.h"
#include "testing/sqlcipher_shell.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::enDBNameType;
using QMXDAO::Utility;
using qmxdao::test::expectEngineError;
using qmxdao::test::runSqlcipherShell;
using qmxdao::test::TempShop;
using Rows = std::vector<std::map<std::wstring, std::wstring>>;

const std::string kShellKey = "PRAGMA key='KRD1987';\n";
const std::wstring kNotADatabase = L"file is not a database";

// What the shell prints for "select ID, NAME from T order by ID", or its error text.
std::string shellRows(const std::filesystem::path& file, const std::string& keyLine) {
  const auto result = runSqlcipherShell(file, keyLine + "select ID, NAME from T order by ID;\n");
  return result.exitCode == 0 ? result.output : "error: " + result.errors;
}

Rows libraryRows(enDBNameType type) {
  return Utility::SearchBySQL(L"select ID, NAME from T order by ID", type);
}

void createInShell(const std::filesystem::path& file, const std::string& keyLine,
                   const std::string& rows) {
  const auto result = runSqlcipherShell(
      file, keyLine + "create table T (ID integer primary key, NAME text);\ninsert into T values " +
                rows + ";\n");
  ASSERT_EQ(result.exitCode, 0) << result.errors;
}

TEST(KeyInterop, FileWrittenByTheLibraryOpensInTheShell) {
  TempShop shop;
  Utility::execDML(L"create table T (ID integer primary key, NAME text)", DBNAME_MAIN);
  Utility::execDML(L"insert into T values (1, 'tea'), (2, 'caf\u00e9')", DBNAME_MAIN);
  // Later writes go through the derived key that the first open cached.
  Utility::execDML(L"insert into T values (3, 'milk')", DBNAME_MAIN);

  EXPECT_EQ(shellRows(shop.mainFile(), kShellKey), "1|tea\n2|caf\xc3\xa9\n3|milk\n");
  EXPECT_NE(shellRows(shop.mainFile(), "").find("file is encrypted"), std::string::npos);
  EXPECT_NE(shellRows(shop.mainFile(), "PRAGMA key='krd1987';\n").find("file is encrypted"),
            std::string::npos);
}

TEST(KeyInterop, EmptyFileBecomesAKeyedDatabase) {
  TempShop shop;
  qmxdao::test::writeFileBytes(shop.saleFile(), "");
  Utility::execDML(L"create table T (ID integer primary key, NAME text)", DBNAME_SALE);
  Utility::execDML(L"insert into T values (1, 'tea')", DBNAME_SALE);
  EXPECT_EQ(shellRows(shop.saleFile(), kShellKey), "1|tea\n");
}

TEST(KeyInterop, FileKeyedInTheShellOpensInTheLibrary) {
  TempShop shop;
  createInShell(shop.mainFile(), kShellKey, "(1, 'tea'), (2, 'caf\xc3\xa9')");
  const Rows expected{{{L"ID", L"1"}, {L"NAME", L"tea"}}, {{L"ID", L"2"}, {L"NAME", L"caf\u00e9"}}};
  EXPECT_EQ(libraryRows(DBNAME_MAIN), expected);
  EXPECT_EQ(libraryRows(DBNAME_MAIN), expected) << "second open, with the cached key";

  // The same path with a new file, and so a new salt: the key derived for the old one must not
  // be reused.
  std::filesystem::remove(shop.mainFile());
  createInShell(shop.mainFile(), kShellKey, "(7, 'new')");
  EXPECT_EQ(libraryRows(DBNAME_MAIN), (Rows{{{L"ID", L"7"}, {L"NAME", L"new"}}}));

  Utility::execDML(L"insert into T values (8, 'library')", DBNAME_MAIN);
  EXPECT_EQ(shellRows(shop.mainFile(), kShellKey), "7|new\n8|library\n");
}

// Checks that only the database key opens the file of the type, in the library and in the shell.
void expectKeyedWithRows(const std::filesystem::path& file, enDBNameType type, const Rows& expected,
                         const std::string& shellExpected) {
  expectEngineError(
      [&] {
        CppSQLite3DB plain;
        plain.open(file.wstring().c_str(), L"");
        plain.execQuery(L"select * from T");
      },
      26, kNotADatabase);
  EXPECT_EQ(libraryRows(type), expected);
  EXPECT_EQ(shellRows(file, kShellKey), shellExpected);
  EXPECT_NE(shellRows(file, "").find("file is encrypted"), std::string::npos);
}

TEST(KeyInterop, ResetDBKeyEncryptsAPlainMainFileOnce) {
  TempShop shop;
  createInShell(shop.mainFile(), "", "(1, 'tea'), (2, 'caf\xc3\xa9')");
  ASSERT_EQ(shellRows(shop.mainFile(), ""), "1|tea\n2|caf\xc3\xa9\n");
  expectEngineError([] { libraryRows(DBNAME_MAIN); }, 26, kNotADatabase);

  const Rows expected{{{L"ID", L"1"}, {L"NAME", L"tea"}}, {{L"ID", L"2"}, {L"NAME", L"caf\u00e9"}}};
  Utility::ResetDBKey(L"", L"", DBNAME_MAIN);
  expectKeyedWithRows(shop.mainFile(), DBNAME_MAIN, expected, "1|tea\n2|caf\xc3\xa9\n");

  // A second call, with other texts, finds the file keyed already and leaves it as it is.
  const std::string keyed = qmxdao::test::readFileBytes(shop.mainFile());
  Utility::ResetDBKey(L"KRD1987", L"anything", DBNAME_MAIN);
  EXPECT_TRUE(qmxdao::test::readFileBytes(shop.mainFile()) == keyed);
  expectKeyedWithRows(shop.mainFile(), DBNAME_MAIN, expected, "1|tea\n2|caf\xc3\xa9\n");
}

TEST(KeyInterop, ResetDBKeyEncryptsAPlainSalesFileMadeByTheLibrary) {
  TempShop shop;
  {
    CppSQLite3DB plain;
    plain.open(shop.saleFile().wstring().c_str(), L"");
    plain.execDML(L"create table T (ID integer primary key, NAME text)");
    plain.execDML(L"create index T_NAME on T (NAME)");
    plain.execDML(L"insert into T values (5, 'sold')");
    plain.close();
  }
  ASSERT_EQ(shellRows(shop.saleFile(), ""), "5|sold\n");

  Utility::ResetDBKey(L"", L"", DBNAME_SALE);
  Utility::ResetDBKey(L"", L"", DBNAME_SALE);
  const Rows expected{{{L"ID", L"5"}, {L"NAME", L"sold"}}};
  expectKeyedWithRows(shop.saleFile(), DBNAME_SALE, expected, "5|sold\n");
  EXPECT_EQ(Utility::GetCreateIndexByTableName(L"T", DBNAME_SALE).size(), 1u);
  EXPECT_EQ(Utility::GetItemCount(L"T", L"NAME='sold'", DBNAME_SALE), 1);
  // The index came along.
  EXPECT_EQ(Utility::SearchBySQL(L"select name from sqlite_master where type='index'", DBNAME_SALE),
            (Rows{{{L"name", L"T_NAME"}}}));
}

TEST(KeyInterop, ResetDBKeyRefusesAFileUnderAnotherKey) {
  TempShop shop;
  createInShell(shop.mainFile(), "PRAGMA key='other';\n", "(1, 'tea')");
  const std::string before = qmxdao::test::readFileBytes(shop.mainFile());
  expectEngineError([] { Utility::ResetDBKey(L"", L"", DBNAME_MAIN); }, 26, kNotADatabase);
  EXPECT_TRUE(qmxdao::test::readFileBytes(shop.mainFile()) == before);
  EXPECT_EQ(shellRows(shop.mainFile(), "PRAGMA key='other';\n"), "1|tea\n");
}

}  // namespace
