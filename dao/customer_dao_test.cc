// CustomerDAOImpl on real keyed files: the generic operations (what they write, which rows they
// touch, all-or-nothing on an engine error), the unkeyed reads, and the customer's batch save
// with its identifiers, stamping, merge, tolerated lookup failure and diagnostic lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/Customer.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"
#include "testing/debug_capture.h"
#include "testing/expect_engine_error.h"
#include "testing/temp_shop.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/schema_text.h"

namespace {

using QMXDAO::CustomerDAOImpl;
using QMXDAO::DBNAME_MAIN;
using QMXDAO::Utility;
using qmxdao::test::DebugCapture;
using qmxdao::test::expectEngineError;
using qmxdao::test::TempShop;
using QMXDataDomain::___CUSTOMER;
using QMXDataDomain::ColumnValueMap;
using Customers = std::vector<___CUSTOMER>;

constexpr int kSqlError = 1;
constexpr int kConstraint = 19;
constexpr int kNotADatabase = 26;

___CUSTOMER customer(const std::wstring& org, long long id = 0, const std::wstring& tel = L"") {
  ___CUSTOMER c;
  c.ORG = org;
  c.ID = id;
  c.TEL = tel;
  return c;
}

ColumnValueMap valuesOf(const ___CUSTOMER& c) {
  ColumnValueMap values;
  c.getColumnValues(values);
  return values;
}

// The stored rows as ID -> ORG.
std::map<long long, std::wstring> idsAndOrgs() {
  std::map<long long, std::wstring> rows;
  for (const auto& row : Utility::SearchBySQL(L"select ID, ORG from CUSTOMER", DBNAME_MAIN)) {
    rows[std::stoll(row.at(L"ID"))] = row.at(L"ORG");
  }
  return rows;
}

void execMain(const std::wstring& sql) { Utility::execDML(sql, DBNAME_MAIN); }

TEST(CustomerDAO, EmptyInputsOpenNothing) {
  TempShop shop(TempShop::Layout::kNoDbFolder);
  CustomerDAOImpl dao;
  EXPECT_FALSE(dao.add(Customers{}));
  EXPECT_FALSE(dao.update(Customers{}));
  EXPECT_FALSE(dao.save(Customers{}));
  EXPECT_FALSE(dao.delet(std::vector<long long>{}));
  EXPECT_TRUE(dao.findBySQL(L"").empty());
  EXPECT_TRUE(dao.findBySQLNoKey(L"").empty());
  EXPECT_FALSE(std::filesystem::exists(shop.dbFolder()));
}

TEST(CustomerDAO, AddStoresEveryFieldUnderIdsTheTableAssigns) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  EXPECT_EQ(dao.count(), 0);

  ___CUSTOMER full = customer(L"shop", 500, L"");
  full.INTEGRAL = 12.5f;
  full.JAWBONEMONEY = -3.25f;
  full.SUBMIT = -5;
  full.DEL_FLAG = 1;
  full.CUSTOMER_NAME = L"\u5f20\u4e09 caf\u00e9 \U0001F600";
  full.CREATE_TIME = L"2015-03-07 09:05:01";
  full.EXT10 = L"ten";
  full.EXT1 = L"one";
  // The records' own IDs are not written: a second 500 would collide.
  ASSERT_TRUE(dao.add(Customers{full, customer(L"a", 500), customer(L"b", 7)}));
  ASSERT_TRUE(dao.add(customer(L"c", 1)));
  EXPECT_EQ(dao.count(), 4);
  EXPECT_EQ(idsAndOrgs(),
            (std::map<long long, std::wstring>{{1, L"shop"}, {2, L"a"}, {3, L"b"}, {4, L"c"}}));

  ___CUSTOMER back = dao.findById(1);
  full.ID = 1;
  EXPECT_EQ(valuesOf(back), valuesOf(full));
  // Empty texts are stored as NULL and read back empty.
  EXPECT_EQ(Utility::SearchBySQL(L"select typeof(TEL) as T, typeof(INTEGRAL) as F, typeof(SUBMIT) "
                                 L"as I from CUSTOMER where ID = 1",
                                 DBNAME_MAIN),
            (std::vector<std::map<std::wstring, std::wstring>>{
                {{L"T", L"null"}, {L"F", L"real"}, {L"I", L"integer"}}}));

  // An absent ID gives a default record.
  EXPECT_EQ(valuesOf(dao.findById(99)), valuesOf(___CUSTOMER()));
}

TEST(CustomerDAO, UpdateWritesTheRowOfEachRecordsId) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  ASSERT_TRUE(dao.add(
      Customers{customer(L"a", 0, L"1"), customer(L"b", 0, L"2"), customer(L"c", 0, L"3")}));

  ___CUSTOMER second = dao.findById(2);
  second.TEL = L"two";
  second.SUBMIT = 4;
  second.INTEGRAL = 0.5f;
  second.ADDR = L"street";
  ___CUSTOMER third = dao.findById(3);
  third.ORG = L"moved";
  ASSERT_TRUE(dao.update(Customers{second, third, customer(L"ghost", 99, L"x")}));
  EXPECT_EQ(valuesOf(dao.findById(2)), valuesOf(second));
  EXPECT_EQ(valuesOf(dao.findById(3)), valuesOf(third));
  EXPECT_EQ(dao.findById(1).TEL, L"1");
  EXPECT_EQ(dao.count(), 3);

  second.CUSTOMER_NAME = L"single";
  ASSERT_TRUE(dao.update(second));
  EXPECT_EQ(dao.findById(2).CUSTOMER_NAME, L"single");
  EXPECT_TRUE(dao.update(customer(L"none", 1000)));
  EXPECT_EQ(dao.count(), 3);
}

TEST(CustomerDAO, DeleteRemovesExactlyTheGivenIds) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  execMain(
      L"insert into CUSTOMER (ID, ORG) values (1, 'a'), (2, 'b'), (3, 'c'), (3000000000, 'big'), "
      L"(3000000001, 'bigger'), (-1294967296, 'truncated')");
  EXPECT_EQ(dao.findById(3000000000LL).ORG, L"big");

  ASSERT_TRUE(dao.delet(3000000000LL));
  EXPECT_EQ(
      idsAndOrgs(),
      (std::map<long long, std::wstring>{
          {-1294967296, L"truncated"}, {1, L"a"}, {2, L"b"}, {3, L"c"}, {3000000001, L"bigger"}}));
  ASSERT_TRUE(dao.delet(std::vector<long long>{3000000001LL, 1, 3}));
  EXPECT_EQ(idsAndOrgs(),
            (std::map<long long, std::wstring>{{-1294967296, L"truncated"}, {2, L"b"}}));
  EXPECT_TRUE(dao.delet(std::vector<long long>{77, 78}));
  EXPECT_EQ(dao.count(), 2);
}

TEST(CustomerDAO, FindBySQLReadsTheColumnsTheResultHas) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  execMain(
      L"insert into CUSTOMER (ID, ORG, TEL, INTEGRAL, SUBMIT, ADDR) values "
      L"(1, 'a', 't1', 1.5, 1, 'x'), (2, 'b', NULL, 0.1, 2, 'y'), (5, 'c', 't5', NULL, 3, 'z')");

  Customers all = dao.findBySQL(L"select * from CUSTOMER order by ID");
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[1].INTEGRAL, 0.1f);
  EXPECT_EQ(all[1].TEL, L"");
  EXPECT_EQ(all[2].INTEGRAL, 0.0f);
  EXPECT_EQ(all[2].ADDR, L"z");

  // Absent columns keep the scratch record's values: the defaults, since no row sets them.
  Customers some = dao.findBySQL(
      L"select ID, TEL, length(ADDR) as LEN, INTEGRAL from CUSTOMER order by ID desc");
  ASSERT_EQ(some.size(), 3u);
  EXPECT_EQ(some[0].ID, 5);
  EXPECT_EQ(some[0].TEL, L"t5");
  EXPECT_EQ(some[1].ID, 2);
  EXPECT_EQ(some[1].TEL, L"");
  EXPECT_EQ(some[1].INTEGRAL, 0.1f);
  EXPECT_EQ(some[2].ID, 1);
  EXPECT_EQ(some[2].INTEGRAL, 1.5f);
  for (const ___CUSTOMER& c : some) {
    EXPECT_EQ(c.ORG, L"");
    EXPECT_EQ(c.SUBMIT, 0);
    EXPECT_EQ(c.ADDR, L"");
  }

  EXPECT_TRUE(dao.findBySQL(L"select * from CUSTOMER where ID > 5").empty());
  expectEngineError([&] { dao.findBySQL(L"select * from NOWHERE"); }, kSqlError, L"no such table");
}

TEST(CustomerDAO, EngineErrorInAnAddStoresNoneOfItsRecords) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  execMain(
      L"CREATE TRIGGER fail BEFORE INSERT ON CUSTOMER WHEN NEW.TEL='boom' BEGIN SELECT "
      L"RAISE(ABORT,'boom'); END;");
  const Customers five = {customer(L"a", 0, L"1"), customer(L"b", 0, L"2"),
                          customer(L"c", 0, L"boom"), customer(L"d", 0, L"4"),
                          customer(L"e", 0, L"5")};
  expectEngineError([&] { dao.add(five); }, kConstraint, L"boom");
  EXPECT_EQ(dao.count(), 0);
  // The same through the batch save, whose inserts bind the identifiers.
  expectEngineError([&] { dao.save(five); }, kConstraint, L"boom");
  EXPECT_EQ(dao.count(), 0);

  // The failed call left no lock behind.
  ASSERT_TRUE(dao.add(customer(L"after")));
  EXPECT_EQ(dao.count(), 1);
}

TEST(CustomerDAO, EngineErrorInTheLastUpdateOfASaveStoresNothing) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  ASSERT_TRUE(dao.save(Customers{customer(L"u", 0, L"one"), customer(L"u", 0, L"two")}));
  execMain(
      L"CREATE TRIGGER fail BEFORE UPDATE ON CUSTOMER WHEN NEW.TEL='boom' BEGIN SELECT "
      L"RAISE(ABORT,'boom'); END;");

  DebugCapture capture;
  expectEngineError(
      [&] {
        dao.save(Customers{customer(L"n", 0), customer(L"n", 0), customer(L"u", 1, L"changed"),
                           customer(L"u", 2, L"boom")});
      },
      kConstraint, L"boom");
  EXPECT_EQ(capture.lines().size(), 2u);  // both groups began
  EXPECT_EQ(idsAndOrgs(), (std::map<long long, std::wstring>{{1, L"u"}, {2, L"u"}}));
  EXPECT_EQ(dao.findById(1).TEL, L"one");

  // A record whose own ID is stored under another ORG is new, and its insert collides.
  expectEngineError(
      [&] {
        dao.save(Customers{customer(L"n", 0), customer(L"other", 2)});
      },
      kConstraint, L"UNIQUE");
  EXPECT_EQ(dao.count(), 2);
}

TEST(CustomerDAO, UnkeyedReadsNeedAPlainFile) {
  TempShop plain(TempShop::Layout::kEmptyDbFolder);
  qmxdb::createDatabaseFile(plain.mainFile().wstring(), qmxdb::mainSchemaSql(), L"");
  {
    CppSQLite3DB db;
    db.open(plain.mainFile().wstring().c_str(), L"");
    db.execDML(L"insert into CUSTOMER (ID, ORG, TEL) values (4, 'p', 't'), (9, 'q', NULL)");
    db.close();
  }
  CustomerDAOImpl dao;
  EXPECT_EQ(dao.countNoKey(), 2);
  Customers rows = dao.findBySQLNoKey(L"select * from CUSTOMER order by ID");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].ID, 4);
  EXPECT_EQ(rows[0].TEL, L"t");
  EXPECT_EQ(rows[1].ORG, L"q");
  expectEngineError([&] { dao.count(); }, kNotADatabase, L"not a database");

  TempShop keyed(TempShop::Layout::kInstalled);
  ASSERT_TRUE(dao.add(customer(L"k")));
  expectEngineError([&] { dao.countNoKey(); }, kNotADatabase, L"not a database");
  expectEngineError([&] { dao.findBySQLNoKey(L"select * from CUSTOMER"); }, kNotADatabase,
                    L"not a database");
  EXPECT_EQ(dao.count(), 1);
}

// --- The batch save ---------------------------------------------------------------------------

// "2015-03-07 09:05:01".
bool isTimeText(const std::wstring& text) {
  const std::wstring shape = L"dddd-dd-dd dd:dd:dd";
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool ok = shape[i] == L'd' ? (text[i] >= L'0' && text[i] <= L'9') : text[i] == shape[i];
    if (!ok) return false;
  }
  return true;
}

TEST(CustomerSave, NewRecordsTakeTheLargestIdPlusOneInVectorOrder) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  ASSERT_TRUE(dao.save(customer(L"first")));
  EXPECT_EQ(idsAndOrgs(), (std::map<long long, std::wstring>{{1, L"first"}}));

  execMain(L"insert into CUSTOMER (ID, ORG) values (41, 'z')");
  ASSERT_TRUE(dao.save(Customers{customer(L"a"), customer(L"b"), customer(L"c")}));
  // The same key twice in one new call: both are new, since every lookup runs before any write.
  ASSERT_TRUE(dao.save(Customers{customer(L"same"), customer(L"same")}));
  // A non-zero ID that no row under its ORG has is kept.
  ASSERT_TRUE(dao.save(Customers{customer(L"own", 100), customer(L"d")}));
  EXPECT_EQ(idsAndOrgs(), (std::map<long long, std::wstring>{{1, L"first"},
                                                             {41, L"z"},
                                                             {42, L"a"},
                                                             {43, L"b"},
                                                             {44, L"c"},
                                                             {45, L"same"},
                                                             {46, L"same"},
                                                             {100, L"own"},
                                                             {101, L"d"}}));

  // The largest ID is read in full.
  execMain(L"insert into CUSTOMER (ID, ORG) values (5000000000, 'big')");
  ASSERT_TRUE(dao.save(customer(L"e")));
  EXPECT_EQ(dao.findById(5000000001LL).ORG, L"e");
}

TEST(CustomerSave, StampsNewRecordsAndMergesFoundOnesUnstamped) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;

  ___CUSTOMER unset = customer(L"s", 0, L"1");
  unset.SUBMIT = 1;
  ___CUSTOMER preset = customer(L"s", 0, L"2");
  preset.CREATE_TIME = L"2001-01-01 00:00:00";
  preset.UPDATE_TIME = L"stale";
  const std::wstring before = Utility::GetNowTime();
  ASSERT_TRUE(dao.save(Customers{unset, preset}));
  const std::wstring after = Utility::GetNowTime();

  ___CUSTOMER one = dao.findById(1);
  EXPECT_TRUE(isTimeText(one.CREATE_TIME)) << one.CREATE_TIME;
  EXPECT_GE(one.CREATE_TIME, before);
  EXPECT_LE(one.CREATE_TIME, after);
  EXPECT_EQ(one.UPDATE_TIME, one.CREATE_TIME);
  EXPECT_EQ(one.SUBMIT, 1);
  ___CUSTOMER two = dao.findById(2);
  EXPECT_EQ(two.CREATE_TIME, L"2001-01-01 00:00:00");
  EXPECT_TRUE(isTimeText(two.UPDATE_TIME)) << two.UPDATE_TIME;
  EXPECT_GE(two.UPDATE_TIME, before);
  EXPECT_LE(two.UPDATE_TIME, after);

  // A found row takes every incoming field, time texts as they come, but keeps its SUBMIT.
  ___CUSTOMER incoming = customer(L"s", 1, L"new tel");
  incoming.SUBMIT = 0;
  incoming.CREATE_TIME = L"created by caller";
  incoming.UPDATE_TIME = L"";
  incoming.INTEGRAL = 7.25f;
  incoming.JAWBONEMONEY = 0.1f;
  incoming.DEL_FLAG = 3;
  incoming.EXT5 = L"five";
  ASSERT_TRUE(dao.save(incoming));
  ___CUSTOMER merged = dao.findById(1);
  EXPECT_EQ(merged.SUBMIT, 1);
  merged.SUBMIT = incoming.SUBMIT;
  EXPECT_EQ(valuesOf(merged), valuesOf(incoming));
  EXPECT_EQ(valuesOf(dao.findById(2)), valuesOf(two));
  EXPECT_EQ(dao.count(), 2);
}

TEST(CustomerSave, OrgWithAQuoteIsLookedUpLikeAnyOther) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  DebugCapture capture;
  ASSERT_TRUE(dao.save(Customers{customer(L"o'brien", 0, L"1"), customer(L"plain", 0, L"2")}));
  ASSERT_TRUE(dao.save(Customers{customer(L"o'brien", 1, L"changed")}));
  EXPECT_EQ(idsAndOrgs(), (std::map<long long, std::wstring>{{1, L"o'brien"}, {2, L"plain"}}));
  EXPECT_EQ(dao.findById(1).TEL, L"changed");

  const std::vector<std::wstring> lines = capture.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind(L"CustomerDAOImpl::save::Add 2\u6761Item ", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind(L"CustomerDAOImpl::save::Updates 1\u6761Item ", 0), 0u) << lines[1];
}

TEST(CustomerSave, FailedLookupSkipsEachRecordWithOneLine) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  execMain(L"DROP TABLE CUSTOMER");
  DebugCapture capture;
  EXPECT_TRUE(dao.save(Customers{customer(L"a"), customer(L"b", 3), customer(L"c")}));
  const std::wstring line =
      L"pDBC->execQuery error 1:no such table: CUSTOMER,sql=select * from CUSTOMER where   ORG=? "
      L"and ID=? \n";
  EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{line, line, line}));
}

TEST(CustomerSave, GroupLinesOnlyForGroupsThatHaveRecords) {
  TempShop shop(TempShop::Layout::kInstalled);
  CustomerDAOImpl dao;
  DebugCapture capture;
  const std::wstring add = L"CustomerDAOImpl::save::Add ";
  const std::wstring updates = L"CustomerDAOImpl::save::Updates ";
  // The head with the group's size, then a blank, a 19-character time and the end of line.
  auto expectLine = [](const std::wstring& line, const std::wstring& head) {
    ASSERT_EQ(line.rfind(head, 0), 0u) << line;
    const std::wstring tail = line.substr(head.size());
    ASSERT_EQ(tail.size(), 1u + 19u + 1u) << line;
    EXPECT_EQ(tail.front(), L' ') << line;
    EXPECT_TRUE(isTimeText(tail.substr(1, 19))) << line;
    EXPECT_EQ(tail.back(), L'\n') << line;
  };

  ASSERT_TRUE(dao.save(Customers{customer(L"a"), customer(L"b"), customer(L"c")}));
  std::vector<std::wstring> lines = capture.lines();
  ASSERT_EQ(lines.size(), 1u);
  expectLine(lines[0], add + L"3\u6761Item");
  capture.clear();

  ASSERT_TRUE(dao.save(Customers{customer(L"a", 1, L"x"), customer(L"b", 2, L"y")}));
  lines = capture.lines();
  ASSERT_EQ(lines.size(), 1u);
  expectLine(lines[0], updates + L"2\u6761Item");
  capture.clear();

  ASSERT_TRUE(dao.save(Customers{customer(L"c", 3, L"z"), customer(L"new")}));
  lines = capture.lines();
  ASSERT_EQ(lines.size(), 2u);
  expectLine(lines[0], add + L"1\u6761Item");
  expectLine(lines[1], updates + L"1\u6761Item");
  capture.clear();

  execMain(L"DROP TABLE CUSTOMER");
  ASSERT_TRUE(dao.save(customer(L"gone")));
  lines = capture.lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].rfind(L"pDBC->execQuery error 1:", 0), 0u) << lines[0];
}

}  // namespace
