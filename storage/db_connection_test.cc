// DBConnection: copies share one engine object on the main file, which stays open while any copy
// lives and is released, without close, by the last one. A released connection rolls back its
// open transaction and frees the file's write lock; that is what the tests watch.
#include <gtest/gtest.h>

#include <memory>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/DBConnection.h"
#include "qmxdao/storage/Utility.h"
#include "testing/expect_engine_error.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBConnection;
using QMXDAO::DBNAME_MAIN;
using QMXDAO::Utility;
using qmxdao::test::expectEngineError;
using qmxdao::test::TempShop;

constexpr int kBusy = 5;

// Another connection to the same file that gives up on a lock after 100 ms.
class Writer {
 public:
  explicit Writer(const TempShop& shop) {
    db_.open(shop.mainFile().wstring().c_str(), L"KRD1987");
    db_.setBusyTimeout(100);
  }
  bool canWrite() {
    try {
      db_.execDML(L"begin immediate transaction;");
    } catch (const CppSQLite3Exception& e) {
      EXPECT_EQ(e.errorCode(), kBusy) << e.what();
      return false;
    }
    db_.execDML(L"rollback transaction;");
    return true;
  }
  int rows() { return db_.execQuery(L"select count(*) from T").getIntField(0); }

 private:
  CppSQLite3DB db_;
};

void holdWriteLock(DBConnection& connection) {
  CppSQLite3DB& db = connection.getDBConnectionInstance();
  db.execDML(L"begin immediate transaction;");
  db.execDML(L"insert into T values (1)");
}

TEST(DBConnection, CopiesShareOneEngineObjectUntilTheLastGoes) {
  TempShop shop;
  Utility::execDML(L"create table T (V integer)", DBNAME_MAIN);
  Writer writer(shop);

  auto first = std::make_unique<DBConnection>();
  auto copy = std::make_unique<DBConnection>(*first);
  EXPECT_EQ(&first->getDBConnectionInstance(), &copy->getDBConnectionInstance());
  holdWriteLock(*first);
  EXPECT_FALSE(writer.canWrite());

  first.reset();
  EXPECT_FALSE(writer.canWrite()) << "the copy still holds the transaction";
  EXPECT_EQ(copy->getDBConnectionInstance().execQuery(L"select count(*) from T").getIntField(0), 1);

  copy.reset();
  EXPECT_TRUE(writer.canWrite());
  EXPECT_EQ(writer.rows(), 0) << "the uncommitted insert was rolled back";
}

TEST(DBConnection, AssignmentGivesUpTheOldEngineObject) {
  TempShop shop;
  Utility::execDML(L"create table T (V integer)", DBNAME_MAIN);
  Writer writer(shop);

  DBConnection target;
  DBConnection source;
  holdWriteLock(target);
  EXPECT_FALSE(writer.canWrite());

  target = source;
  EXPECT_EQ(&target.getDBConnectionInstance(), &source.getDBConnectionInstance());
  EXPECT_TRUE(writer.canWrite()) << "target was the only owner of its first engine object";

  holdWriteLock(source);
  DBConnection& same = target;
  CppSQLite3DB* before = &target.getDBConnectionInstance();
  target = same;
  EXPECT_EQ(&target.getDBConnectionInstance(), before);
  EXPECT_FALSE(writer.canWrite()) << "assigning an object to itself changes nothing";
}

TEST(DBConnection, FileTheKeyDoesNotOpenFailsTheConstructor) {
  TempShop shop;
  {
    CppSQLite3DB plain;
    plain.open(shop.mainFile().wstring().c_str(), L"");
    plain.execDML(L"create table T (V integer)");
    plain.close();
  }
  expectEngineError([] { DBConnection connection; }, 26, L"file is not a database");
}

}  // namespace
