// Utility's operations for the application's own SQL, run on real keyed files: which file each
// type reaches, how rows become maps, the count statement, the schema version and table texts.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "testing/expect_engine_error.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_DEFAULT;
using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::Utility;
using qmxdao::test::expectEngineError;
using qmxdao::test::TempShop;
using Rows = std::vector<std::map<std::wstring, std::wstring>>;

TEST(UtilityExecDML, ReturnsTheChangedRowCountOnTheFileOfTheType) {
  TempShop shop;
  EXPECT_EQ(Utility::execDML(L"create table T (ID integer primary key, NAME text)", DBNAME_MAIN),
            0);
  EXPECT_EQ(Utility::execDML(L"insert into T (NAME) values ('a'), ('b'), ('c')", DBNAME_MAIN), 3);
  EXPECT_EQ(Utility::execDML(L"update T set NAME = 'x' where ID >= 2", DBNAME_DEFAULT), 2);
  EXPECT_EQ(Utility::execDML(L"delete from T", DBNAME_MAIN), 3);
  EXPECT_EQ(std::filesystem::file_size(shop.saleFile()), 0u);

  EXPECT_EQ(Utility::execDML(L"create table S (V text)", DBNAME_SALE), 0);
  EXPECT_EQ(Utility::execDML(L"insert into S values ('sold')", DBNAME_SALE), 1);
  EXPECT_EQ(Utility::SearchBySQL(L"select V from S", DBNAME_SALE), (Rows{{{L"V", L"sold"}}}));
  expectEngineError([] { Utility::SearchBySQL(L"select V from S", DBNAME_MAIN); }, 1,
                    L"no such table");
}

TEST(UtilitySearchBySQL, RowsBecomeMapsInQueryOrder) {
  TempShop shop;
  Utility::execDML(L"create table T (ID integer primary key, NAME text, NOTE text)", DBNAME_MAIN);
  Utility::execDML(
      L"insert into T values (1, 'one', NULL), (2, 'two', ''), (3, 'caf\u00e9 \u4e2d\U0001F600', "
      L"'n')",
      DBNAME_MAIN);

  // The first of two columns named B wins; keys come in code-unit order.
  const Rows duplicate =
      Utility::SearchBySQL(L"select 'b1' as B, 'a' as A, 'b2' as B", DBNAME_MAIN);
  ASSERT_EQ(duplicate.size(), 1u);
  ASSERT_EQ(duplicate[0].size(), 2u);
  EXPECT_EQ(duplicate[0].begin()->first, L"A");
  EXPECT_EQ(duplicate[0].at(L"B"), L"b1");

  EXPECT_EQ(Utility::SearchBySQL(L"select ID, NAME, NOTE from T order by ID desc", DBNAME_MAIN),
            (Rows{{{L"ID", L"3"}, {L"NAME", L"caf\u00e9 \u4e2d\U0001F600"}, {L"NOTE", L"n"}},
                  {{L"ID", L"2"}, {L"NAME", L"two"}, {L"NOTE", L""}},
                  {{L"ID", L"1"}, {L"NAME", L"one"}, {L"NOTE", L""}}}));
  EXPECT_TRUE(Utility::SearchBySQL(L"select * from T where ID > 3", DBNAME_MAIN).empty());
}

TEST(UtilitySearchBySQL, EmptyTextOpensNothing) {
  TempShop shop(TempShop::Layout::kNoDbFolder);
  EXPECT_TRUE(Utility::SearchBySQL(L"", DBNAME_MAIN).empty());
  EXPECT_TRUE(Utility::SearchBySQL(L"", DBNAME_SALE).empty());
  EXPECT_FALSE(std::filesystem::exists(shop.dbFolder()));
}

TEST(UtilityGetItemCount, CountsWithAndWithoutCondition) {
  TempShop shop;
  Utility::execDML(L"create table ITEM (ID integer primary key, NAME text)", DBNAME_MAIN);
  Utility::execDML(L"insert into ITEM (NAME) values ('a'), ('b'), ('c'), ('it''s'), ('e')",
                   DBNAME_MAIN);
  EXPECT_EQ(Utility::GetItemCount(L"ITEM", L"", DBNAME_MAIN), 5);
  EXPECT_EQ(Utility::GetItemCount(L"ITEM", L"ID>3", DBNAME_MAIN), 2);
  EXPECT_EQ(Utility::GetItemCount(L"ITEM", L"NAME='it''s'", DBNAME_MAIN), 1);

  // A condition far beyond any fixed statement buffer is run whole: only its end selects one row.
  std::wstring longCondition = L"ID<>0";
  while (longCondition.size() < 5000) longCondition += L" and ID<>0";
  longCondition += L" and ID=3";
  EXPECT_EQ(Utility::GetItemCount(L"ITEM", longCondition, DBNAME_MAIN), 1);

  expectEngineError([] { Utility::GetItemCount(L"ITME", L"", DBNAME_MAIN); }, 1, L"no such table");
}

TEST(UtilityGetDBVersion, TakesTheLastRow) {
  TempShop shop;
  expectEngineError([] { Utility::GetDBVersion(DBNAME_MAIN); }, 1, L"no such table");

  Utility::execDML(L"create table version (version text)", DBNAME_MAIN);
  EXPECT_EQ(Utility::GetDBVersion(DBNAME_MAIN), L"");
  Utility::execDML(L"insert into version values ('1.0'), ('2.0')", DBNAME_MAIN);
  EXPECT_EQ(Utility::GetDBVersion(DBNAME_MAIN), L"2.0");

  Utility::execDML(L"create table version (version text)", DBNAME_SALE);
  Utility::execDML(L"insert into version values ('')", DBNAME_SALE);
  EXPECT_EQ(Utility::GetDBVersion(DBNAME_SALE), L"");
  Utility::execDML(L"update version set version = NULL", DBNAME_SALE);
  EXPECT_EQ(Utility::GetDBVersion(DBNAME_SALE), L"");
}

TEST(UtilityGetDBVersion, PathFormOpensExactlyThatFile) {
  TempShop shop(TempShop::Layout::kEmptyDbFolder);
  const auto path = shop.folder() / "elsewhere.db";
  {
    CppSQLite3DB db;
    db.open(path.wstring().c_str(), L"KRD1987");
    db.execDML(L"create table version (version text)");
    db.execDML(L"insert into version values ('3.1')");
    db.close();
  }
  // Unlike GetDBName, the path form leaves a read-only file's attributes alone.
  ASSERT_EQ(chmod(path.string().c_str(), 0444), 0);
  EXPECT_EQ(Utility::GetDBVersion(path.wstring()), L"3.1");
  struct stat status {};
  ASSERT_EQ(stat(path.string().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0444u);
  EXPECT_FALSE(std::filesystem::exists(shop.mainFile()));
}

TEST(UtilityTableTexts, CreationStatementOfATable) {
  TempShop shop;
  const std::wstring create = L"CREATE TABLE ITEM (ID INTEGER PRIMARY KEY, UPC TEXT)";
  Utility::execDML(create, DBNAME_MAIN);
  Utility::execDML(L"create index ITEM_UPC on ITEM (UPC)", DBNAME_MAIN);

  EXPECT_EQ(Utility::GetCreateSQLByTableName(L"ITEM", DBNAME_MAIN), create);
  // Despite its name it reads the table's own statement, not its indexes.
  EXPECT_EQ(Utility::GetCreateIndexByTableName(L"ITEM", DBNAME_MAIN),
            std::vector<std::wstring>{create});

  EXPECT_EQ(Utility::GetCreateSQLByTableName(L"NONE", DBNAME_MAIN), L"");
  EXPECT_TRUE(Utility::GetCreateIndexByTableName(L"NONE", DBNAME_MAIN).empty());
  EXPECT_EQ(Utility::GetCreateSQLByTableName(L"ITEM", DBNAME_SALE), L"");
  // The name is bound, not pasted into the SQL: a quote is part of the name.
  const std::wstring quoted = L"CREATE TABLE [it's] (V TEXT)";
  Utility::execDML(quoted, DBNAME_MAIN);
  EXPECT_EQ(Utility::GetCreateSQLByTableName(L"it's", DBNAME_MAIN), quoted);
  EXPECT_EQ(Utility::GetCreateIndexByTableName(L"x' or '1'='1", DBNAME_MAIN),
            std::vector<std::wstring>{});
}

TEST(UtilityBuildPagerSql, StatementsRunOnTheEngine) {
  TempShop shop;
  Utility::execDML(L"create table ITEM (ID integer primary key, upc text)", DBNAME_MAIN);
  Utility::execDML(
      L"insert into ITEM (ID, upc) with recursive n(i) as (select 1 union all select i + 1 from "
      L"n where i < 50) select i, 'U' || i from n",
      DBNAME_MAIN);
  wchar_t sql[512];

  Utility::BuildPagerSql(L"ITEM", 20, 3, L"ID", true, nullptr, sql);
  Rows rows = Utility::SearchBySQL(sql, DBNAME_MAIN);
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows.front().at(L"ID"), L"41");
  EXPECT_EQ(rows.back().at(L"ID"), L"50");

  Utility::BuildPagerSql(L"ITEM", 20, 1, nullptr, L"ID DESC", L"ID<45", sql);
  rows = Utility::SearchBySQL(sql, DBNAME_MAIN);
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_EQ(rows.front().at(L"ID"), L"44");
  EXPECT_EQ(rows.front().at(L"length([upc])"), L"3");

  Utility::BuildCountSql(L"ITEM", L"ID>40", sql);
  EXPECT_EQ(Utility::SearchBySQL(sql, DBNAME_MAIN), (Rows{{{L"c", L"10"}}}));
}

}  // namespace
