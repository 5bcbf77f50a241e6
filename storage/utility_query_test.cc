// Utility's operations for the application's own SQL, run on real keyed files: which file each
// type reaches, how rows become maps, the count statement, the schema version and table texts,
// and what they do with input they should not get: text that is no valid Unicode, very long
// texts, a missing database folder and a file that is no database (left exactly as it was).
#include <gtest/gtest.h>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Statement.h"
#include "qmxdao/storage/Utility.h"
#include "testing/expect_engine_error.h"
#include "testing/file_bytes.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::Utility;
using qmxdao::test::expectEngineError;
using qmxdao::test::TempShop;
using Rows = std::vector<std::map<std::wstring, std::wstring>>;

TEST(UtilitySearchBySQL, RowsCountsAndChangesOnTheFileOfTheType) {
  TempShop shop;
  const std::string saleBytes = qmxdao::test::readFileBytes(shop.saleFile());
  EXPECT_EQ(Utility::execDML(L"create table T (ID integer primary key, V text)", DBNAME_MAIN), 0);
  EXPECT_EQ(Utility::execDML(L"insert into T values (1, NULL), (2, 'caf\u00e9 \u4e2d\U0001F600'), "
                             L"(3, 'it''s')",
                             DBNAME_MAIN),
            3);
  EXPECT_EQ(Utility::execDML(L"update T set V = V where ID >= 2", QMXDAO::DBNAME_DEFAULT), 2);
  EXPECT_TRUE(qmxdao::test::readFileBytes(shop.saleFile()) == saleBytes);
  // Text that holds a second statement is refused before any runs, whichever call is given it;
  // blanks and comments after the one statement are no statement.
  for (const auto& call : std::vector<std::function<void()>>{
           [] {
             Utility::execDML(L"update T set V = 'x' where ID = 1; delete from T", DBNAME_MAIN);
           },
           [] { Utility::execDML(L"delete from T;;delete from T", DBNAME_MAIN); },
           [] { Utility::SearchBySQL(L"select * from T; delete from T", DBNAME_MAIN); },
           [] { Utility::GetItemCount(L"T", L"ID > 0; delete from T", DBNAME_MAIN); }}) {
    expectEngineError(call, 21, L"more than one statement");
  }
  EXPECT_EQ(Utility::execDML(L"update T set V = V where ID = 3; -- one row\n ; ", DBNAME_MAIN), 1);
  EXPECT_EQ(
      Utility::SearchBySQL(L"select ID, V from T where ID < 3 order by ID desc", DBNAME_MAIN),
      (Rows{{{L"ID", L"2"}, {L"V", L"caf\u00e9 \u4e2d\U0001F600"}}, {{L"ID", L"1"}, {L"V", L""}}}));
  // The first of two columns of one name wins. An invalid UTF-8 byte reads as U+FFFD.
  EXPECT_EQ(Utility::SearchBySQL(L"select 'b1' as B, CAST(x'41FF42' AS TEXT) as A, 'b2' as B",
                                 DBNAME_MAIN),
            (Rows{{{L"A", L"A\uFFFDB"}, {L"B", L"b1"}}}));
  EXPECT_EQ(Utility::GetItemCount(L"T", L"", DBNAME_MAIN), 3);
  EXPECT_EQ(Utility::GetItemCount(L"T", L"V='it''s'", DBNAME_MAIN), 1);
  // A condition far beyond any fixed statement buffer is run whole: only its end selects one row.
  std::wstring longCondition = L"ID<>0";
  while (longCondition.size() < 5000) longCondition += L" and ID<>0";
  EXPECT_EQ(Utility::GetItemCount(L"T", longCondition + L" and ID=3", DBNAME_MAIN), 1);

  EXPECT_EQ(Utility::execDML(L"create table S (V text)", DBNAME_SALE), 0);
  EXPECT_EQ(Utility::execDML(L"insert into S values ('sold')", DBNAME_SALE), 1);
  EXPECT_EQ(Utility::SearchBySQL(L"select V from S", DBNAME_SALE), (Rows{{{L"V", L"sold"}}}));
  EXPECT_TRUE(Utility::SearchBySQL(L"select * from S where V = 'x'", DBNAME_SALE).empty());
  expectEngineError([] { Utility::GetItemCount(L"S", L"", DBNAME_MAIN); }, 1, L"no such table");
}

TEST(UtilitySingleValueReads, VersionFromTheLastRowAndATablesCreationStatement) {
  TempShop shop;
  expectEngineError([] { Utility::GetDBVersion(DBNAME_MAIN); }, 1, L"no such table");
  Utility::execDML(L"create table version (version text)", DBNAME_MAIN);
  EXPECT_EQ(Utility::GetDBVersion(DBNAME_MAIN), L"");
  Utility::execDML(L"insert into version values ('1.0'), ('2.0')", DBNAME_MAIN);
  EXPECT_EQ(Utility::GetDBVersion(DBNAME_MAIN), L"2.0");
  Utility::execDML(L"create table version (version text)", DBNAME_SALE);
  Utility::execDML(L"insert into version values (NULL)", DBNAME_SALE);
  EXPECT_EQ(Utility::GetDBVersion(DBNAME_SALE), L"");

  const auto path = shop.folder() / "elsewhere.db";
  CppSQLite3DB db;
  db.open(path.wstring().c_str(), L"KRD1987");
  db.execDML(L"create table version (version text)");
  db.execDML(L"insert into version values ('3.1')");
  db.close();
  EXPECT_EQ(Utility::GetDBVersion(path.wstring()), L"3.1");

  const std::wstring create = L"CREATE TABLE [it's] (ID INTEGER PRIMARY KEY, UPC TEXT)";
  Utility::execDML(create, DBNAME_MAIN);
  Utility::execDML(L"create index ITEM_UPC on [it's] (UPC)", DBNAME_MAIN);
  EXPECT_EQ(Utility::GetCreateSQLByTableName(L"it's", DBNAME_MAIN), create);
  // Despite its name it reads the table's own statement, not its indexes.
  EXPECT_EQ(Utility::GetCreateIndexByTableName(L"it's", DBNAME_MAIN),
            std::vector<std::wstring>{create});
  EXPECT_EQ(Utility::GetCreateSQLByTableName(L"it's", DBNAME_SALE), L"");
  EXPECT_TRUE(Utility::GetCreateIndexByTableName(L"x' or '1'='1", DBNAME_MAIN).empty());
}

// What the engine's own UTF-16 interface stores for text (its bytes, in hex) and what it reads
// back, on a database in memory.
std::pair<std::wstring, std::u16string> engineUtf16(const std::u16string& text) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "select hex(?1), ?1", -1, &stmt, nullptr);
  sqlite3_bind_text16(stmt, 1, text.data(), static_cast<int>(text.size() * 2), SQLITE_STATIC);
  sqlite3_step(stmt);
  const std::string hex = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
  const auto* back = static_cast<const char16_t*>(sqlite3_column_text16(stmt, 1));
  std::pair<std::wstring, std::u16string> result{std::wstring(hex.begin(), hex.end()), back};
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return result;
}

// Distinct texts stay distinct. A lone surrogate is stored as the engine's UTF-16 interface stores
// one that ends a text, and reads back as that interface reads it (U+FFFD); in the SQL text and
// bound alike. A value that is no UTF-16 code unit (only where wchar_t has 32 bits) is refused
// before anything is written. Long texts round-trip.
TEST(BadInput, LoneSurrogatesStayDistinctNonUnitsAreRefusedLongTextsRoundTrip) {
  TempShop shop;
  Utility::execDML(L"create table T (ID integer primary key, V text)", DBNAME_MAIN);
  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), L"KRD1987");
  CppSQLite3Statement insert = db.compileStatement(L"insert into T (V) values (?)");
  const auto store = [&](const std::wstring& text) {  // once in the SQL text, once bound
    Utility::execDML(L"insert into T (V) values ('" + text + L"')", DBNAME_MAIN);
    insert.bind(1, text.c_str());
    insert.execDML();
    insert.reset();
  };
  int stored = 0;
  for (const char16_t surrogate : {u'\xD800', u'\xDBFF', u'\xDFFF'}) {
    const std::wstring key = std::wstring(L"key") + static_cast<wchar_t>(surrogate);
    store(key);
    stored += 2;
    const auto [engineHex, engineRead] = engineUtf16(std::u16string(u"key") + surrogate);
    ASSERT_EQ(engineRead, u"key\uFFFD");
    const std::wstring where = L"ID > " + std::to_wstring(stored - 2);
    EXPECT_EQ(
        Utility::SearchBySQL(L"select distinct hex(V) as H, V from T where " + where, DBNAME_MAIN),
        (Rows{{{L"H", engineHex}, {L"V", L"key\uFFFD"}}}))
        << static_cast<int>(surrogate);
  }
  EXPECT_EQ(Utility::GetItemCount(L"(select distinct V from T)", L"", DBNAME_MAIN), 3);
  if (sizeof(wchar_t) == 4) {
    for (const wchar_t beyond : {static_cast<wchar_t>(0x110000), static_cast<wchar_t>(0x7FFFFFFF),
                                 static_cast<wchar_t>(-1)}) {
      const std::wstring key = std::wstring(L"key") + beyond;
      expectEngineError([&] { store(key); }, 20, L"no UTF-16 code unit");
      expectEngineError([&] { insert.bind(1, key.c_str()); }, 20, L"no UTF-16 code unit");
    }
  }
  EXPECT_EQ(Utility::GetItemCount(L"T", L"", DBNAME_MAIN), stored);

  std::wstring text;
  while (text.size() < (1u << 20)) text += L"abc \u00e9\u4e2d\U0001F600";
  Utility::execDML(L"delete from T", DBNAME_MAIN);
  store(text);
  EXPECT_TRUE(Utility::SearchBySQL(L"select V from T", DBNAME_MAIN) ==
              (Rows{{{L"V", text}}, {{L"V", text}}}));
  EXPECT_EQ(Utility::GetItemCount(L"T", L"V = '" + text + L"'", DBNAME_MAIN), 2);
  insert.finalize();
  db.close();
}

TEST(BadInput, MissingFolderOrForeignFileFailsAndChangesNothing) {
  {
    TempShop shop(TempShop::Layout::kNoDbFolder);
    EXPECT_TRUE(Utility::SearchBySQL(L"", DBNAME_SALE).empty());  // an empty text opens nothing
    expectEngineError([] { Utility::execDML(L"create table T (V text)", DBNAME_MAIN); }, 14,
                      L"unable to open");
    EXPECT_THROW(Utility::ResetDBKey(L"", L"", DBNAME_SALE), CppSQLite3Exception);
    EXPECT_FALSE(std::filesystem::exists(shop.dbFolder()));
  }
  TempShop shop;
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(i * 7919 % 251);
  qmxdao::test::writeFileBytes(shop.mainFile(), garbage);
  qmxdao::test::writeFileBytes(shop.saleFile(), garbage.substr(0, 100));
  for (const auto type : {DBNAME_MAIN, DBNAME_SALE}) {
    const std::wstring notADatabase = L"file is not a database";
    expectEngineError([&] { Utility::SearchBySQL(L"select * from sqlite_master", type); }, 26,
                      notADatabase);
    expectEngineError([&] { Utility::ResetDBKey(L"", L"", type); }, 26, notADatabase);
  }
  EXPECT_TRUE(qmxdao::test::readFileBytes(shop.mainFile()) == garbage);
  EXPECT_TRUE(qmxdao::test::readFileBytes(shop.saleFile()) == garbage.substr(0, 100));
}

}  // namespace
