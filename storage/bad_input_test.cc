// What the storage layer does with input it should not get: text that is no valid Unicode, very
// long texts, a database folder that is missing and a file that is not a database. Nothing may
// crash, and a foreign file must be left exactly as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/DBConnection.h"
#include "qmxdao/storage/Utility.h"
#include "testing/expect_engine_error.h"
#include "testing/file_bytes.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::Utility;
using qmxdao::test::expectEngineError;
using qmxdao::test::readFileBytes;
using qmxdao::test::TempShop;
using qmxdao::test::writeFileBytes;

std::wstring storedBack(const std::wstring& sql) {
  const auto rows = Utility::SearchBySQL(sql, DBNAME_MAIN);
  return rows.size() == 1 ? rows[0].begin()->second : L"<" + std::to_wstring(rows.size()) + L">";
}

TEST(BadInput, InvalidCodeUnitsBecomeReplacementCharacters) {
  TempShop shop;
  Utility::execDML(L"create table T (ID integer primary key, V text)", DBNAME_MAIN);
  for (const wchar_t invalid : {static_cast<wchar_t>(0xD800), static_cast<wchar_t>(0xDFFF),
                                static_cast<wchar_t>(0x110000), static_cast<wchar_t>(-1)}) {
    const std::wstring text = std::wstring(L"a") + invalid + L"b";
    SCOPED_TRACE(static_cast<long>(invalid));

    // In the SQL text itself.
    Utility::execDML(L"delete from T", DBNAME_MAIN);
    Utility::execDML(L"insert into T values (1, '" + text + L"')", DBNAME_MAIN);
    EXPECT_EQ(storedBack(L"select V from T"), L"a\uFFFDb");

    // As a bound value.
    CppSQLite3DB db;
    db.open(shop.mainFile().wstring().c_str(), L"KRD1987");
    CppSQLite3Statement update = db.compileStatement(L"update T set V = ? where ID = 1");
    update.bind(1, text.c_str());
    update.execDML();
    update.finalize();
    db.close();
    EXPECT_EQ(storedBack(L"select V from T"), L"a\uFFFDb");
  }
}

TEST(BadInput, MegabyteTextsRoundTrip) {
  TempShop shop;
  Utility::execDML(L"create table T (ID integer primary key, V text)", DBNAME_MAIN);
  std::wstring text;
  while (text.size() < (1u << 20)) text += L"abc \u00e9\u4e2d\U0001F600";

  Utility::execDML(L"insert into T values (1, '" + text + L"')", DBNAME_MAIN);
  {
    CppSQLite3DB db;
    db.open(shop.mainFile().wstring().c_str(), L"KRD1987");
    CppSQLite3Statement insert = db.compileStatement(L"insert into T values (2, ?)");
    insert.bind(1, text.c_str());
    insert.execDML();
    insert.finalize();
    db.close();
  }
  const auto rows = Utility::SearchBySQL(L"select V from T order by ID", DBNAME_MAIN);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(rows[0].at(L"V") == text) << "literal text changed";
  EXPECT_TRUE(rows[1].at(L"V") == text) << "bound text changed";
  EXPECT_EQ(Utility::GetItemCount(L"T", L"V = '" + text + L"'", DBNAME_MAIN), 2);
}

TEST(BadInput, MissingDatabaseFolderFailsAndCreatesNothing) {
  TempShop shop(TempShop::Layout::kNoDbFolder);
  expectEngineError([] { Utility::execDML(L"create table T (V text)", DBNAME_MAIN); }, 14,
                    L"unable to open");
  expectEngineError([] { Utility::SearchBySQL(L"select 1", DBNAME_SALE); }, 14, L"unable to open");
  EXPECT_THROW(QMXDAO::DBConnection(), CppSQLite3Exception);
  EXPECT_THROW(Utility::ResetDBKey(L"", L"", DBNAME_MAIN), CppSQLite3Exception);
  EXPECT_FALSE(std::filesystem::exists(shop.dbFolder()));
}

TEST(BadInput, FileThatIsNoDatabaseIsLeftAsItWas) {
  TempShop shop;
  std::mt19937 random(1987);
  std::string garbage(4096, '\0');
  for (char& byte : garbage) byte = static_cast<char>(random());
  writeFileBytes(shop.mainFile(), garbage);
  writeFileBytes(shop.saleFile(), garbage.substr(0, 100));

  const std::wstring notADatabase = L"file is not a database";
  for (const auto type : {DBNAME_MAIN, DBNAME_SALE}) {
    expectEngineError([&] { Utility::SearchBySQL(L"select * from sqlite_master", type); }, 26,
                      notADatabase);
    expectEngineError([&] { Utility::execDML(L"create table T (V text)", type); }, 26,
                      notADatabase);
    expectEngineError([&] { Utility::GetItemCount(L"T", L"", type); }, 26, notADatabase);
    expectEngineError([&] { Utility::ResetDBKey(L"", L"", type); }, 26, notADatabase);
  }
  EXPECT_THROW(QMXDAO::DBConnection(), CppSQLite3Exception);

  EXPECT_TRUE(readFileBytes(shop.mainFile()) == garbage);
  EXPECT_TRUE(readFileBytes(shop.saleFile()) == garbage.substr(0, 100));
}

}  // namespace
