// Files the library must refuse, and writes the engine refuses halfway: a file keyed with another
// passphrase, a plain file opened with the key, a keyed file opened without it, a table or a
// column that is not there, a statement stopped in the middle of a batch. Each ends the call with
// CppSQLite3Exception, and a write call then stores none of its records.
#include <gtest/gtest.h>

#include <string>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "reliability/fault_helpers.h"
#include "testing/expect_engine_error.h"
#include "testing/file_bytes.h"
#include "testing/temp_shop.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/schema_text.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::Utility;
using qmxdao::test::customerBatch;
using qmxdao::test::customerCount;
using qmxdao::test::expectEngineError;
using qmxdao::test::readFileBytes;
using qmxdao::test::TempShop;

const std::wstring kNotADatabase = L"file is not a database";

// Every operation of the customer class, and the application's own SQL, on a file the key does
// not open: each fails at the open, and the file keeps every byte.
void expectEveryCallRefused(const std::filesystem::path& file, const std::wstring& message) {
  const std::string before = readFileBytes(file);
  CustomerDAOImpl dao;
  expectEngineError([&] { dao.save(customerBatch(1, 3)); }, 26, message);
  expectEngineError([&] { dao.add(customerBatch(2, 3)); }, 26, message);
  expectEngineError([&] { dao.update(customerBatch(3, 3)); }, 26, message);
  expectEngineError([&] { dao.delet(std::vector<long long>{1, 2}); }, 26, message);
  expectEngineError([&] { dao.count(); }, 26, message);
  expectEngineError([&] { dao.findById(1); }, 26, message);
  expectEngineError([&] { dao.findBySQL(L"select * from CUSTOMER"); }, 26, message);
  expectEngineError([&] { Utility::execDML(L"delete from CUSTOMER", DBNAME_MAIN); }, 26, message);
  expectEngineError([&] { Utility::GetDBVersion(DBNAME_MAIN); }, 26, message);
  EXPECT_TRUE(readFileBytes(file) == before) << "a refused file was changed";
}

TEST(RefusedFile, KeyedWithAnotherPassphrase) {
  TempShop shop;
  qmxdb::createDatabaseFile(shop.mainFile().wstring(), qmxdb::mainSchemaSql(), L"KRD1988");
  expectEveryCallRefused(shop.mainFile(), kNotADatabase);
  expectEngineError([] { CustomerDAOImpl().countNoKey(); }, 26, kNotADatabase);
}

TEST(RefusedFile, PlainFileOpenedWithTheKey) {
  TempShop shop;
  qmxdb::createDatabaseFile(shop.mainFile().wstring(), qmxdb::mainSchemaSql(), L"");
  {
    CppSQLite3DB plain;
    plain.open(shop.mainFile().wstring().c_str(), L"");
    plain.execDML(L"insert into CUSTOMER (ORG) values ('plain'), ('plain')");
    plain.close();
  }
  expectEveryCallRefused(shop.mainFile(), kNotADatabase);
  // The file itself is sound: read without the key it holds its two customers.
  EXPECT_EQ(CustomerDAOImpl().countNoKey(), 2);
}

TEST(RefusedFile, KeyedFileReadWithoutTheKey) {
  TempShop shop(TempShop::Layout::kInstalled);
  ASSERT_TRUE(CustomerDAOImpl().save(customerBatch(1, 3)));
  const std::string before = readFileBytes(shop.mainFile());
  expectEngineError([] { CustomerDAOImpl().countNoKey(); }, 26, kNotADatabase);
  expectEngineError([] { CustomerDAOImpl().findBySQLNoKey(L"select * from CUSTOMER"); }, 26,
                    kNotADatabase);
  EXPECT_TRUE(readFileBytes(shop.mainFile()) == before);
  EXPECT_EQ(CustomerDAOImpl().count(), 3);
}

TEST(RefusedFile, MissingTableOrColumnStoresNothing) {
  TempShop shop(TempShop::Layout::kInstalled);
  Utility::execDML(L"drop table CUSTOMER", DBNAME_MAIN);
  Utility::execDML(L"drop table SALE_ORDER_SUMMARY", DBNAME_SALE);
  CustomerDAOImpl customers;
  expectEngineError([&] { customers.add(customerBatch(1, 3)); }, 1, L"no such table: CUSTOMER");
  expectEngineError([&] { customers.count(); }, 1, L"no such table: CUSTOMER");
  QMXDataDomain::___SALE_ORDER_SUMMARY sale;
  sale.RAND_ID = L"sale-1";
  expectEngineError([&] { QMXDAO::SaleOrderSummaryDAOImpl().save(sale); }, 1,
                    L"no such table: SALE_ORDER_SUMMARY");

  // A table that lacks a column: the lookups run, the first INSERT cannot be compiled, and the
  // rows that were there stay exactly as they were.
  Utility::execDML(L"create table CUSTOMER (ID integer primary key, ORG text, EXT1 text)",
                   DBNAME_MAIN);
  Utility::execDML(L"insert into CUSTOMER (ORG, EXT1) values ('a', '1'), ('b', '2')", DBNAME_MAIN);
  expectEngineError([&] { customers.save(customerBatch(3, 50)); }, 1, L"no column named");
  expectEngineError([&] { customers.add(customerBatch(4, 50)); }, 1, L"no column named");
  EXPECT_EQ(customerCount(), 2);
}

// Every row of the customer table, as one text, behind the engine's verdict on the file.
std::wstring customerSnapshot() {
  return qmxdao::test::integrityCheck() + L"|" +
         Utility::SearchBySQL(
             L"select group_concat(ID || ORG || coalesce(EXT2, '')) as ALL_ROWS "
             L"from CUSTOMER",
             DBNAME_MAIN)[0]
             .at(L"ALL_ROWS");
}

// A statement the engine stops in the middle of a batch (here a trigger, standing in for any
// constraint): the records written before it in the same call are rolled back with it.
TEST(RefusedFile, StatementStoppedMidBatchRollsBackTheWholeCall) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  ASSERT_TRUE(dao.save(customerBatch(1, 20)));
  Utility::execDML(
      L"create trigger REFUSE_INSERT before insert on CUSTOMER when new.EXT2 = 'refuse' "
      L"begin select raise(abort, 'refused by the till'); end",
      DBNAME_MAIN);
  Utility::execDML(
      L"create trigger REFUSE_UPDATE before update on CUSTOMER when new.EXT2 = 'refuse' "
      L"begin select raise(abort, 'refused by the till'); end",
      DBNAME_MAIN);
  const std::wstring before = customerSnapshot();

  // The third of five inserts.
  auto adds = customerBatch(2, 5);
  adds[2].EXT2 = L"refuse";
  expectEngineError([&] { dao.add(adds); }, 19, L"refused by the till");
  expectEngineError([&] { dao.save(adds); }, 19, L"refused by the till");

  // The save inserts its 100 new records first, then updates the stored one, which is refused.
  auto mixed = customerBatch(3, 100);
  auto stored = dao.findBySQL(L"select * from CUSTOMER where ORG = 'org-1' limit 1");
  ASSERT_EQ(stored.size(), 1u);
  stored[0].EXT2 = L"refuse";
  mixed.push_back(stored[0]);
  expectEngineError([&] { dao.save(mixed); }, 19, L"refused by the till");
  expectEngineError([&] { dao.update(stored); }, 19, L"refused by the till");

  EXPECT_EQ(customerSnapshot(), before);
  EXPECT_EQ(dao.count(), 20);
}

}  // namespace
