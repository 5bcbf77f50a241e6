// The engine layer on real keyed files: reading fields (and their NULL defaults), binding and
// reusing a compiled statement, and every engine failure reaching the caller as
// CppSQLite3Exception with the engine's code and message.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "testing/expect_engine_error.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::Utility;
using qmxdao::test::expectEngineError;
using qmxdao::test::TempShop;

constexpr const wchar_t* kKey = L"KRD1987";
constexpr int kError = 1;
constexpr int kRange = 25;
constexpr int kNotADatabase = 26;
const std::wstring kNotADatabaseText = L"file is not a database";

TEST(Engine, QueryReadsFieldsAndDefaultsForNull) {
  TempShop shop;
  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), kKey);
  db.execDML(L"create table T (I integer, L integer, F real, S text)");
  db.execDML(L"insert into T values (NULL, NULL, NULL, NULL)");
  db.execDML(L"insert into T values (42, 9000000000, 2.5, 'caf\u00e9')");

  CppSQLite3Query query = db.execQuery(L"select I, L, F, S from T order by rowid");
  ASSERT_FALSE(query.eof());
  ASSERT_EQ(query.numFields(), 4);
  EXPECT_STREQ(query.fieldName(0), L"I");
  EXPECT_STREQ(query.fieldName(3), L"S");
  EXPECT_TRUE(query.fieldIsNull(3));
  EXPECT_EQ(query.fieldValue(3), nullptr);
  EXPECT_EQ(query.getIntField(0, 7), 7);
  EXPECT_EQ(query.getInt64Field(1, 8), 8);
  EXPECT_DOUBLE_EQ(query.getFloatField(2, 1.5), 1.5);
  EXPECT_STREQ(query.getStringField(3, L"none"), L"none");

  query.nextRow();
  ASSERT_FALSE(query.eof());
  EXPECT_FALSE(query.fieldIsNull(3));
  EXPECT_EQ(query.getIntField(0), 42);
  EXPECT_EQ(query.getInt64Field(1), 9000000000LL);
  EXPECT_DOUBLE_EQ(query.getFloatField(2), 2.5);
  EXPECT_STREQ(query.getStringField(3), L"caf\u00e9");
  EXPECT_STREQ(query.fieldValue(0), L"42");
  EXPECT_STREQ(query.fieldValue(2), L"2.5");
  EXPECT_THROW(query.fieldValue(4), CppSQLite3Exception);

  query.nextRow();
  EXPECT_TRUE(query.eof());
  query.finalize();

  EXPECT_TRUE(db.execQuery(L"select * from T where I = 0").eof());
  db.close();
}

TEST(Engine, CompiledStatementIsReboundForEachRecord) {
  TempShop shop;
  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), kKey);
  db.execDML(L"create table T (I integer, L integer, F real, S text)");

  CppSQLite3Statement insert = db.compileStatement(L"insert into T values (?, ?, ?, ?)");
  db.execDML(L"begin immediate transaction;");
  for (int i = 1; i <= 3; ++i) {
    insert.bind(1, i);
    insert.bind(2, 9000000000LL + i);
    insert.bind(3, i + 0.5);
    if (i == 2) {
      insert.bind(4, static_cast<const wchar_t*>(nullptr));
    } else {
      insert.bind(4, std::to_wstring(i).c_str());
    }
    EXPECT_EQ(insert.execDML(), 1);
    insert.reset();
  }
  insert.bindNull(1);
  EXPECT_EQ(insert.execDML(), 1);
  db.execDML(L"commit transaction;");
  insert.reset();
  expectEngineError([&] { insert.bind(5, 1); }, kRange, L"out of range");
  insert.finalize();

  CppSQLite3Statement select =
      db.compileStatement(L"select I, L, F, S from T where L > ? order by rowid");
  select.bind(1, 9000000001LL);
  CppSQLite3Query rows = select.execQuery();
  ASSERT_FALSE(rows.eof());
  EXPECT_EQ(rows.getIntField(0), 2);
  EXPECT_DOUBLE_EQ(rows.getFloatField(2), 2.5);
  EXPECT_TRUE(rows.fieldIsNull(3));
  rows.nextRow();
  EXPECT_EQ(rows.getIntField(0), 3);
  EXPECT_STREQ(rows.getStringField(3), L"3");
  rows.nextRow();
  ASSERT_FALSE(rows.eof());
  EXPECT_TRUE(rows.fieldIsNull(0)) << "bindNull after reset replaced the bound 3";
  EXPECT_STREQ(rows.getStringField(3), L"3") << "bindings stay until bound anew";
  rows.nextRow();
  EXPECT_TRUE(rows.eof());
  rows.finalize();
  select.finalize();
  db.close();
}

TEST(Engine, FailuresCarryTheEnginesCodeAndMessage) {
  TempShop shop;
  Utility::execDML(L"create table T (V text)", DBNAME_MAIN);

  expectEngineError([] { Utility::SearchBySQL(L"select * from MISSING", DBNAME_MAIN); }, kError,
                    L"no such table: MISSING");
  expectEngineError([] { Utility::execDML(L"selec * from T", DBNAME_MAIN); }, kError,
                    L"syntax error");
  expectEngineError([] { Utility::execDML(L"insert into T values (1, 2)", DBNAME_MAIN); }, kError,
                    L"has 1 columns but 2 values were supplied");

  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), kKey);
  expectEngineError([&] { db.compileStatement(L"update T set W = 1"); }, kError, L"no such column");
  try {
    db.execQuery(L"select * from MISSING");
    ADD_FAILURE() << "no CppSQLite3Exception";
  } catch (const CppSQLite3Exception& e) {
    const CppSQLite3Exception copy(e);
    EXPECT_EQ(copy.errorCode(), kError);
    EXPECT_STREQ(copy.errorMessage(), e.errorMessage());
    EXPECT_NE(std::string(copy.what()).find("no such table"), std::string::npos) << copy.what();
  }
  db.close();

  CppSQLite3DB unopened;
  EXPECT_THROW(unopened.execDML(L"select 1"), CppSQLite3Exception);
}

TEST(Engine, KeyThatDoesNotOpenTheFileFailsWithNotADatabase) {
  TempShop shop;
  const std::wstring otherKeyFile = (shop.dbFolder() / "other.db").wstring();
  const std::wstring plainFile = (shop.dbFolder() / "plain.db").wstring();
  for (const auto& [path, key] : {std::pair{otherKeyFile, L"other"}, std::pair{plainFile, L""}}) {
    CppSQLite3DB db;
    db.open(path.c_str(), key);
    db.execDML(L"create table T (V text)");
    db.close();
  }

  // The open itself fails, before any statement.
  for (const auto& path : {otherKeyFile, plainFile}) {
    expectEngineError(
        [&] {
          CppSQLite3DB db;
          db.open(path.c_str(), kKey);
        },
        kNotADatabase, kNotADatabaseText);
  }
  expectEngineError(
      [&] {
        CppSQLite3DB db;
        db.open(otherKeyFile.c_str(), L"");
      },
      kNotADatabase, kNotADatabaseText);

  std::filesystem::rename(otherKeyFile, shop.mainFile());
  expectEngineError([] { Utility::SearchBySQL(L"select * from T", DBNAME_MAIN); }, kNotADatabase,
                    kNotADatabaseText);
  std::filesystem::rename(plainFile, shop.mainFile());
  expectEngineError([] { Utility::execDML(L"insert into T values ('x')", DBNAME_MAIN); },
                    kNotADatabase, kNotADatabaseText);
}

}  // namespace
