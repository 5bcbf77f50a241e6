// The engine classes on real keyed files: binding and reusing a compiled statement, reading
// fields back (with their NULL defaults), failures as CppSQLite3Exception with the engine's code
// and message (a wrong key among them), and the shared DBConnection.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/DBConnection.h"
#include "qmxdao/storage/Utility.h"
#include "testing/expect_engine_error.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBConnection;
using qmxdao::test::expectEngineError;
using qmxdao::test::TempShop;

TEST(Engine, CompiledStatementBindsEachRecordAndQueryReadsItBack) {
  TempShop shop;
  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), L"KRD1987");
  db.execDML(L"create table T (I integer, L integer, F real, S text, U text)");
  CppSQLite3Statement insert = db.compileStatement(L"insert into T values (?, ?, ?, ?, ?)");
  for (int i = 1; i <= 2; ++i) {
    insert.bind(1, i);
    insert.bind(2, 9000000000LL + i);
    insert.bind(3, i + 0.5);
    insert.bind(4, i == 1 ? L"caf\u00e9" : L"tea");
    insert.bind(5, std::to_wstring(i).c_str());
    EXPECT_EQ(insert.execDML(), 1);
    insert.reset();
  }
  // After a reset, bindings stay until bound anew: U keeps "2".
  for (int param = 1; param <= 3; ++param) insert.bindNull(param);
  insert.bind(4, static_cast<const wchar_t*>(nullptr));
  EXPECT_EQ(insert.execDML(), 1);
  insert.reset();
  expectEngineError([&] { insert.bind(6, 1); }, 25, L"out of range");
  EXPECT_EQ(db.compileStatement(L"update T set I = I").execDML(), 3) << "rows changed";

  CppSQLite3Query rows = db.execQuery(L"select * from T");
  auto rowText = [&] {  // the row's field texts, "NULL" for NULL
    std::wstring text;
    for (int field = 0; field < rows.numFields(); ++field)
      text += (rows.fieldValue(field) ? rows.fieldValue(field) : L"NULL") + std::wstring(L"|");
    return text;
  };
  EXPECT_EQ(rowText(), L"1|9000000001|1.5|caf\u00e9|1|");
  EXPECT_EQ(rows.getInt64Field(1), 9000000001LL);
  EXPECT_EQ(rows.getIntField(0) + rows.getFloatField(2), 2.5);
  EXPECT_THROW(rows.fieldValue(5), CppSQLite3Exception);
  rows.nextRow();
  EXPECT_EQ(rowText(), L"2|9000000002|2.5|tea|2|");
  rows.nextRow();
  EXPECT_EQ(rowText(), L"NULL|NULL|NULL|NULL|2|");
  EXPECT_EQ(rows.getIntField(0, 7) + rows.getInt64Field(1, 8), 15);
  EXPECT_DOUBLE_EQ(rows.getFloatField(2, 1.5), 1.5);
  EXPECT_STREQ(rows.getStringField(3, L"none"), L"none");
  rows.nextRow();
  EXPECT_TRUE(rows.eof());
}

TEST(Engine, FailuresCarryTheEnginesCodeAndMessage) {
  TempShop shop;
  const auto plainFile = shop.dbFolder() / "plain.db";
  CppSQLite3DB db;
  db.open(plainFile.wstring().c_str(), L"");  // a new plain file
  db.execDML(L"create table T (V text)");
  expectEngineError([&] { db.compileStatement(L"update T set W = 1"); }, 1, L"no such column");
  expectEngineError([&] { db.execQuery(L"select * from MISSING"); }, 1, L"no such table: MISSING");
  const CppSQLite3Exception original(1, L"no such table: caf\u00e9");
  EXPECT_STREQ(CppSQLite3Exception(original).what(), "1: no such table: caf\xc3\xa9");
  db.close();
  EXPECT_THROW(db.execDML(L"select 1"), CppSQLite3Exception) << "closed";

  // A key that does not open the file fails the open itself, before any statement.
  QMXDAO::Utility::execDML(L"create table T (V text)", QMXDAO::DBNAME_MAIN);
  for (const auto& [path, key] :
       {std::pair{shop.mainFile(), L"other"}, std::pair{shop.mainFile(), L""},
        std::pair{plainFile, L"KRD1987"}}) {
    CppSQLite3DB refused;
    expectEngineError([&] { refused.open(path.wstring().c_str(), key); }, 26, L"not a database");
  }
  std::filesystem::rename(plainFile, shop.mainFile());
  expectEngineError([] { DBConnection connection; }, 26, L"not a database");
}

// DBConnection copies share one engine object on the main file; its last owner releases it,
// rolling back an open transaction and so freeing the write lock that a second connection sees.
TEST(Engine, DBConnectionsLastOwnerRollsBackAndFreesTheFile) {
  TempShop shop;
  CppSQLite3DB writer;
  writer.open(shop.mainFile().wstring().c_str(), L"KRD1987");
  writer.execDML(L"create table T (V integer)");
  writer.setBusyTimeout(100);
  auto expectLocked = [&] {
    expectEngineError([&] { writer.execDML(L"insert into T values (2)"); }, 5, L"locked");
  };
  auto holdWriteLock = [](DBConnection& connection) {
    connection.getDBConnectionInstance().execDML(L"begin immediate transaction;");
    connection.getDBConnectionInstance().execDML(L"insert into T values (1)");
  };

  auto first = std::make_unique<DBConnection>();
  auto copy = std::make_unique<DBConnection>(*first);
  holdWriteLock(*first);
  first.reset();
  expectLocked();  // the copy still holds the transaction
  DBConnection other;
  *copy = other;  // gives up the old engine object, whose last owner the copy was
  EXPECT_EQ(&copy->getDBConnectionInstance(), &other.getDBConnectionInstance());
  EXPECT_EQ(writer.execDML(L"delete from T"), 0) << "the insert was rolled back";
  holdWriteLock(other);
  DBConnection& same = *copy;
  *copy = same;  // assigning an object to itself changes nothing
  copy.reset();
  expectLocked();
}

}  // namespace
