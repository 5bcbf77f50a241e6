// What the library must refuse: files keyed otherwise, plain, damaged or of zero bytes, a missing
// table, a full or read-only disk, a write the engine stops halfway. Each call ends with the
// engine's CppSQLite3Exception, stores none of its records and changes no file.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "qmxdao/storage/DBConnection.h"
#include "reliability/fault_helpers.h"
#include "testing/debug_capture.h"
#include "testing/expect_engine_error.h"
#include "testing/file_bytes.h"
#include "testing/temp_shop.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/schema_text.h"

#ifndef _WIN32
#include <sys/mount.h>
#endif

namespace {

using QMXDAO::CustomerDAOImpl;
using QMXDAO::DBNAME_MAIN;
using QMXDAO::Utility;
using qmxdao::test::customerBatch;
using qmxdao::test::customerCount;
using qmxdao::test::expectEngineError;
using qmxdao::test::integrityCheck;
using qmxdao::test::TempShop;
using Calls = std::vector<std::function<void()>>;

// Each call fails with the code and message; the main file keeps every byte.
void expectRefused(const TempShop& shop, const Calls& calls, int code, const std::wstring& text) {
  const std::string before = qmxdao::test::readFileBytes(shop.mainFile());
  for (const auto& call : calls) expectEngineError(call, code, text);
  EXPECT_TRUE(qmxdao::test::readFileBytes(shop.mainFile()) == before) << "the file was changed";
}

const std::wstring notADatabase = L"file is not a database";

// Every call of the customer class, and the application's own SQL: each fails at the open.
const Calls kMainFileCalls = {[] { CustomerDAOImpl().save(customerBatch(1, 3)); },
                              [] { CustomerDAOImpl().add(customerBatch(2, 3)); },
                              [] { CustomerDAOImpl().update(customerBatch(3, 3)); },
                              [] { CustomerDAOImpl().delet(1); },
                              [] { CustomerDAOImpl().count(); },
                              [] { Utility::execDML(L"delete from CUSTOMER", DBNAME_MAIN); },
                              [] { Utility::GetDBVersion(DBNAME_MAIN); }};

TEST(RefusedFile, WrongKeyPlainFileOrNoKeyIsRefusedAndTheFileKeepsEveryByte) {
  const Calls& calls = kMainFileCalls;
  for (const wchar_t* key : {L"KRD1988", L""}) {  // another passphrase; none
    TempShop shop(TempShop::Layout::kEmptyDbFolder);
    qmxdb::createDatabaseFile(shop.mainFile().wstring(), qmxdb::mainSchemaSql(), key);
    expectRefused(shop, calls, 26, notADatabase);
    if (*key == L'\0') {
      EXPECT_EQ(CustomerDAOImpl().countNoKey(), 0);  // the plain file itself is sound
    } else {                                         // and a keyed file read without the key
      expectRefused(shop, {[] { CustomerDAOImpl().findBySQLNoKey(L"select * from CUSTOMER"); }}, 26,
                    notADatabase);
    }
  }
}

// Every page of a keyed file carries an HMAC: each read of a damaged copy fails with the engine's
// exception or gives exactly what the sound file gives, and some read notices the damage.
TEST(DamagedFile, FlippedOrCutPagesFailTheReadsThatTouchThemOthersReadAsBefore) {
  TempShop shop(TempShop::Layout::kInstalled);
  ASSERT_TRUE(CustomerDAOImpl().save(customerBatch(1, 300, L"filler text of a customer")));
  // Between them these touch every page: the table, its ORG index, the schema, the version row,
  // and last the engine's walk over all pages.
  auto readAll = [] {
    std::vector<qmxdao::test::ReadOutcome> outcomes;
    for (const wchar_t* sql :
         {L"select * from CUSTOMER order by ID",
          L"select ORG, ID from CUSTOMER indexed by IDX_CUSTOMER_ORG_ID order by ORG, ID",
          L"select type, name, sql from sqlite_master order by name", L"select * from version",
          L"PRAGMA integrity_check"}) {
      outcomes.push_back(qmxdao::test::tryRead(sql));
    }
    return outcomes;
  };
  const std::string pristine = qmxdao::test::readFileBytes(shop.mainFile());
  const auto expected = readAll();
  for (const auto& outcome : expected) ASSERT_TRUE(outcome.rows);
  ASSERT_EQ(expected.back().rows->at(0).begin()->second, L"ok");
  auto expectNoticed = [&](const std::string& damaged) {
    qmxdao::test::writeFileBytes(shop.mainFile(), damaged);
    const auto outcomes = readAll();
    bool noticed = false;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
      const bool walk = i + 1 == outcomes.size();  // which reports damage as findings
      if (outcomes[i].error || (walk && *outcomes[i].rows != *expected[i].rows)) {
        noticed = true;
      } else {
        EXPECT_TRUE(*outcomes[i].rows == *expected[i].rows) << "read " << i << " gave other rows";
      }
    }
    EXPECT_TRUE(noticed) << "no read noticed the damage";
  };

  // Pages of 1,024 bytes (the first after a 16-byte salt) end in their IV, HMAC and 12 bytes of
  // padding. A byte flipped in each page's data, then in its IV or HMAC; then cuts inside a page.
  const std::size_t page = 1024, pages = pristine.size() / page;
  for (std::size_t p = 0; p < pages; ++p) {
    for (std::size_t at : {16 + p * 131 % 900, 976 + p % 36}) {
      SCOPED_TRACE("flipped byte " + std::to_string(p * page + at));
      std::string damaged = pristine;
      damaged[p * page + at] ^= static_cast<char>(1 + p % 255);
      expectNoticed(damaged);
    }
  }
  for (std::size_t kept : {std::size_t{0}, std::size_t{1}, std::size_t{2}, pages / 2, pages - 1}) {
    SCOPED_TRACE("cut inside page " + std::to_string(kept));
    expectNoticed(pristine.substr(0, kept * page + page / 2));
  }
}

TEST(DamagedFile, ZeroByteFileIsRefusedAndStaysEmptyAMissingTableStoresNothing) {
  TempShop shop(TempShop::Layout::kInstalled);
  // A file cut to nothing, or a placeholder, is no shop database, though the engine would take it
  // for an empty one (and the customer's batch save used to write a keyed header into it).
  qmxdao::test::writeFileBytes(shop.mainFile(), "");
  Calls calls = kMainFileCalls;
  calls.insert(calls.end(), {[] { CustomerDAOImpl().countNoKey(); },
                             [] { CustomerDAOImpl().findBySQLNoKey(L"select 1"); },
                             [] { Utility::SearchBySQL(L"select 1", DBNAME_MAIN); },
                             [] { Utility::ResetDBKey(L"", L"", DBNAME_MAIN); },
                             [&] { Utility::GetDBVersion(shop.mainFile().wstring()); },
                             [] { QMXDAO::DBConnection connection; }});
  qmxdao::test::DebugCapture capture;
  expectRefused(shop, calls, 26, notADatabase);
  EXPECT_TRUE(capture.lines().empty()) << "a record was skipped instead";
  EXPECT_EQ(std::filesystem::file_size(shop.mainFile()), 0u);

  Utility::execDML(L"drop table SALE_ORDER_SUMMARY", QMXDAO::DBNAME_SALE);
  QMXDataDomain::___SALE_ORDER_SUMMARY sale;
  sale.RAND_ID = L"sale-1";
  expectEngineError([&] { QMXDAO::SaleOrderSummaryDAOImpl().save(sale); }, 1,
                    L"no such table: SALE_ORDER_SUMMARY");
}

// A statement the engine stops in the middle of a call (a trigger, standing in for any
// constraint): the records written before it in the same call are rolled back with it.
TEST(RefusedFile, StatementStoppedMidBatchRollsBackTheWholeCall) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  ASSERT_TRUE(dao.save(customerBatch(1, 20)));
  for (const std::wstring event : {L"insert", L"update"}) {
    Utility::execDML(L"create trigger REFUSE_" + event + L" before " + event +
                         L" on CUSTOMER when new.EXT2 = 'refuse' "
                         L"begin select raise(abort, 'refused by the till'); end",
                     DBNAME_MAIN);
  }
  auto adds = customerBatch(2, 5);
  adds[2].EXT2 = L"refuse";  // the third of five inserts
  // The save inserts its 100 new records first, then updates the stored one, which is refused.
  auto stored = dao.findBySQL(L"select * from CUSTOMER where ORG = 'org-1' limit 1");
  stored.at(0).EXT2 = L"refuse";
  auto mixed = customerBatch(3, 100);
  mixed.push_back(stored.at(0));
  for (const auto& call : Calls{[&] { dao.add(adds); }, [&] { dao.save(adds); },
                                [&] { dao.save(mixed); }, [&] { dao.update(stored); }}) {
    expectEngineError(call, 19, L"refused by the till");
  }
  EXPECT_EQ(dao.count(), 20);
}

// A disk that fills, then turns read-only (a tmpfs on the db folder: file modes stop no write of
// root, as in CI): writes are refused, reads go on, and once there is room the file takes writes.
TEST(FullDisk, FullThenReadOnlyDiskRefusesWritesStoresNothingAndRecovers) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a mounted tmpfs";
#else
  TempShop shop;
  const std::string folder = shop.dbFolder().string();
  auto mountTmpfs = [&](unsigned long flags, const char* size) {
    return mount("tmpfs", folder.c_str(), "tmpfs", flags, size) == 0;
  };
  if (!mountTmpfs(0, "size=512k")) GTEST_SKIP() << "cannot mount a tmpfs: " << strerror(errno);
  struct Unmount {
    std::string folder;
    ~Unmount() { umount2(folder.c_str(), MNT_DETACH); }
  } unmount{folder};
  qmxdb::createDatabaseFiles(shop.dbFolder().wstring() + L"/");

  // Batches of about 100 KB until one is refused: it stores nothing.
  CustomerDAOImpl dao;
  const std::wstring filler(900, L'x');
  int stored = 0;
  try {
    for (; stored < 100; ++stored) dao.save(customerBatch(stored, 100, filler));
  } catch (const CppSQLite3Exception& e) {
    std::cout << "[ figures  ] full after " << stored << " batches: " << e.what() << "\n";
    EXPECT_EQ(e.errorCode(), 13);  // SQLITE_FULL
  }
  ASSERT_GT(stored, 0);
  ASSERT_LT(stored, 100) << "the disk never filled";
  EXPECT_EQ(customerCount(), stored * 100LL) << "the refused call stored some of its records";
  EXPECT_EQ(integrityCheck(), L"ok");

  // Read-only: each kind of write is refused, the rows stay readable.
  ASSERT_TRUE(mountTmpfs(MS_REMOUNT | MS_RDONLY, "size=8m"));
  for (const auto& write : std::vector<std::function<void()>>{
           [&] { dao.save(customerBatch(stored, 10)); }, [&] { dao.add(customerBatch(0, 10)); },
           [&] { dao.delet(std::vector<long long>{1}); },
           [] { Utility::execDML(L"delete from CUSTOMER", DBNAME_MAIN); }}) {
    expectEngineError(write, 8, L"attempt to write a readonly database");
  }
  EXPECT_EQ(dao.findBySQL(L"select * from CUSTOMER where ORG = 'org-0'").size(), 100u);

  // Room again: the same file takes the batch it refused.
  ASSERT_TRUE(mountTmpfs(MS_REMOUNT, "size=8m"));
  ASSERT_TRUE(dao.save(customerBatch(stored, 100, filler)));
  EXPECT_EQ(customerCount(), (stored + 1) * 100LL);
  EXPECT_EQ(integrityCheck(), L"ok");
#endif
}

}  // namespace
