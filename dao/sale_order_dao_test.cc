// The sale order line's data access on a real keyed sales file: its columns, add and update that
// really write, the batch save without stamping, the reads that keep engine failures to
// themselves, and the line findById ends on standard output per row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmxdao/dao/SaleOrderDAOImpl.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"
#include "testing/column_check.h"
#include "testing/debug_capture.h"
#include "testing/expect_engine_error.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::SaleOrderDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::ColumnCheck;
using qmxdao::test::DebugCapture;
using qmxdao::test::expectEngineError;
using qmxdao::test::TempShop;
using S = QMXDataDomain::___SALE_ORDER;

S line(const std::wstring& randId, const std::wstring& upc, const std::wstring& remark,
       long long id = 0) {
  S s;
  s.ID = id;
  s.RAND_ID = randId;
  s.UPC = upc;
  s.REMARK = remark;
  return s;
}

TEST(SaleOrderRecord, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  const ColumnCheck<S> columns{
      {QMX_COLUMN(S, UPC),
       QMX_COLUMN(S, RAND_ID),
       QMX_COLUMN(S, ITEM_SEQ_ID),
       QMX_COLUMN(S, SALE_USER),
       QMX_COLUMN(S, ORG),
       QMX_COLUMN(S, SALE_TYPE),
       QMX_COLUMN(S, RETURN_RAND_ID),
       QMX_COLUMN(S, CREATE_TIME),
       QMX_COLUMN(S, POS),
       QMX_COLUMN(S, UPDATE_TIME),
       QMX_COLUMN(S, CUSTOMER),
       QMX_COLUMN(S, UNIT_ID),
       QMX_COLUMN(S, REMARK),
       QMX_COLUMN(S, SALE_TIME),
       QMX_COLUMN(S, CREATE_USER),
       QMX_COLUMN(S, EXT1),
       QMX_COLUMN(S, EXT2),
       QMX_COLUMN(S, EXT3),
       QMX_COLUMN(S, EXT4),
       QMX_COLUMN(S, EXT5),
       QMX_COLUMN(S, EXT6),
       QMX_COLUMN(S, EXT7),
       QMX_COLUMN(S, EXT8),
       QMX_COLUMN(S, EXT9),
       QMX_COLUMN(S, EXT10)},
      {QMX_COLUMN(S, INTEGRAL_NUM), QMX_COLUMN(S, POST_INTEGRAL), QMX_COLUMN(S, UPC_ADD_TYPE),
       QMX_COLUMN(S, RETURN_FLAG), QMX_COLUMN(S, ORDER_TYPE), QMX_COLUMN(S, ITEM_ID),
       QMX_COLUMN(S, PACKAGE_TYPE), QMX_COLUMN(S, QTY_ID), QMX_COLUMN(S, SUBMIT),
       QMX_COLUMN(S, ERRCOUNT), QMX_COLUMN(S, RETURN_TYPE), QMX_COLUMN(S, DEL_FLAG)},
      {QMX_COLUMN(S, PAID_PRICE), QMX_COLUMN(S, DISCOUNT_RATE), QMX_COLUMN(S, RELIEF_PRICE),
       QMX_COLUMN(S, PUR_PRICE), QMX_COLUMN(S, DISCOUNT_PRICE), QMX_COLUMN(S, SALE_PROFIT),
       QMX_COLUMN(S, SALE_NUM), QMX_COLUMN(S, SALE_PRICE), QMX_COLUMN(S, DEBT_PRICE),
       QMX_COLUMN(S, TOTAL_PRICE), QMX_COLUMN(S, RETURN_SALE_NUM)}};
  S s;
  columns.fill(s);
  SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(s));

  const auto rows = Utility::SearchBySQL(L"select * from SALE_ORDER", DBNAME_SALE);
  ASSERT_EQ(rows.size(), 1u);
  columns.expectStored(rows[0], 1);
  const S back = dao.findById(1);
  EXPECT_EQ(back.ID, 1);
  columns.expectSame(back, s);
}

TEST(SaleOrderDAO, AddUpdateAndDeleteWriteTheSalesFile) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(std::vector<S>{line(L"R1", L"U1", L"a", 77), line(L"R1", L"U2", L"b")}));
  EXPECT_EQ(dao.count(), 2);
  EXPECT_EQ(dao.findById(77).ID, 0);  // the table assigned the IDs

  S changed = dao.findById(2);
  changed.REMARK = L"b changed";
  ASSERT_TRUE(dao.update(changed));
  EXPECT_EQ(dao.findBySQL(L"select * from SALE_ORDER where ID = 2").at(0).REMARK, L"b changed");
  EXPECT_EQ(dao.findById(1).REMARK, L"a");

  ASSERT_TRUE(dao.delet(1));
  EXPECT_EQ(dao.count(), 1);
  EXPECT_EQ(Utility::GetItemCount(L"SALE_ORDER", L"", DBNAME_SALE), 1);
  EXPECT_EQ(Utility::GetItemCount(L"sqlite_master", L"name = 'SALE_ORDER'", DBNAME_MAIN), 0);
}

TEST(SaleOrderSave, InsertsNewKeysUnstampedAndUpdatesTheMatchedRow) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(line(L"R1", L"U1", L"stored")));

  DebugCapture capture;
  S matched = line(L"R1", L"U1", L"matched", 0);
  matched.UPDATE_TIME = L"2012-12-12 12:12:12";
  S twice = line(L"R2", L"U1", L"twice");
  twice.CREATE_TIME = L"2011-11-11 11:11:11";
  ASSERT_TRUE(dao.save(std::vector<S>{twice, matched, twice}));

  // ID 0 on a matched key: the matched row, with the caller's times.
  const S one = dao.findById(1);
  EXPECT_EQ(one.REMARK, L"matched");
  EXPECT_EQ(one.CREATE_TIME, L"");
  EXPECT_EQ(one.UPDATE_TIME, L"2012-12-12 12:12:12");
  // Both lines with the new key are inserted, and stamped with nothing.
  const auto news = dao.findBySQL(L"select * from SALE_ORDER where RAND_ID = 'R2' order by ID");
  ASSERT_EQ(news.size(), 2u);
  for (const S& s : news) {
    EXPECT_EQ(s.CREATE_TIME, L"2011-11-11 11:11:11");
    EXPECT_EQ(s.UPDATE_TIME, L"");
  }
  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind(L"SALEORDERDAOImpl::modify::Add 2条Item ", 0), 0u);
  EXPECT_EQ(lines[1].rfind(L"SALEORDERDAOImpl::modify::Updates 1条Item ", 0), 0u);
}

TEST(SaleOrderDAO, ReadsAndDeletesKeepEngineFailuresButTheSaveThrows) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(line(L"R1", L"U1", L"x")));
  Utility::execDML(L"drop table SALE_ORDER", DBNAME_SALE);

  EXPECT_EQ(dao.count(), 0);
  EXPECT_EQ(dao.findById(1).ID, 0);
  EXPECT_EQ(dao.findById(1).REMARK, L"");
  EXPECT_TRUE(dao.findBySQL(L"select * from SALE_ORDER").empty());
  EXPECT_FALSE(dao.delet(1));
  EXPECT_FALSE(dao.delet(std::vector<long long>{1, 2}));
  expectEngineError([&] { dao.save(line(L"R1", L"U1", L"y")); }, 1, L"no such table");
}

TEST(SaleOrderFindById, EndsOneLineOnStandardOutputPerRowFound) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(line(L"R1", L"U1", L"x")));

  testing::internal::CaptureStdout();
  const S found = dao.findById(1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n");
  EXPECT_EQ(found.REMARK, L"x");

  testing::internal::CaptureStdout();
  const S missing = dao.findById(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(missing.ID, 0);
}

}  // namespace
