// The sale order summary's data access on a real keyed sales file: its columns, the two 64-bit
// columns held in int fields, the stamping of new summaries and the update of a matched RAND_ID.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "qmxdao/storage/Utility.h"
#include "testing/column_check.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_SALE;
using QMXDAO::SaleOrderSummaryDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::ColumnCheck;
using qmxdao::test::DebugCapture;
using qmxdao::test::expectStampedBetween;
using qmxdao::test::TempShop;
using M = QMXDataDomain::___SALE_ORDER_SUMMARY;

M summary(const std::wstring& randId, const std::wstring& remark, long long id = 0) {
  M m;
  m.ID = id;
  m.RAND_ID = randId;
  m.REMARK = remark;
  return m;
}

TEST(SaleOrderSummaryRecord, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  const ColumnCheck<M> columns{
      {QMX_COLUMN(M, ORG),
       QMX_COLUMN(M, RAND_ID),
       QMX_COLUMN(M, CREATE_TIME),
       QMX_COLUMN(M, CUSTOMER_ID),
       QMX_COLUMN(M, UPDATE_TIME),
       QMX_COLUMN(M, CREATE_USER),
       QMX_COLUMN(M, FALSE_TRADE),
       QMX_COLUMN(M, REMARK),
       QMX_COLUMN(M, ORIGINAL_RAND_ID),
       QMX_COLUMN(M, ORDER_TYPE),
       QMX_COLUMN(M, UPDATE_USER),
       QMX_COLUMN(M, SALE_TIME),
       QMX_COLUMN(M, REMOTE_ADDRESS),
       QMX_COLUMN(M, EXT1),
       QMX_COLUMN(M, EXT2),
       QMX_COLUMN(M, EXT3),
       QMX_COLUMN(M, EXT4),
       QMX_COLUMN(M, EXT5),
       QMX_COLUMN(M, EXT6),
       QMX_COLUMN(M, EXT7),
       QMX_COLUMN(M, EXT8),
       QMX_COLUMN(M, EXT9),
       QMX_COLUMN(M, EXT10)},
      {QMX_COLUMN(M, STATUS), QMX_COLUMN(M, INTEGRAL), QMX_COLUMN(M, ORDER_SUMMARY_TYPE),
       QMX_COLUMN(M, DEL_FLAG), QMX_COLUMN(M, ERRCOUNT), QMX_COLUMN(M, SUBMIT),
       QMX_COLUMN(M, POST_INTEGRAL), QMX_COLUMN(M, SALE_SORT_NUM), QMX_COLUMN(M, RETURN_INTEGRAL),
       QMX_COLUMN(M, RETURN_POST_INTEGRAL), QMX_COLUMN(M, SALE_TYPE), QMX_COLUMN(M, SUBMIT_DETAIL)},
      {QMX_COLUMN(M, SALE_SUM_NUM), QMX_COLUMN(M, TOTAL_PRICE), QMX_COLUMN(M, RELIEF_PRICE),
       QMX_COLUMN(M, PAID_PRICE), QMX_COLUMN(M, DEBT_PRICE), QMX_COLUMN(M, RETURN_TOTAL_PRICE),
       QMX_COLUMN(M, RETURN_DEBT_PRICE), QMX_COLUMN(M, RETURN_RELIEF_PRICE)}};
  M m;
  columns.fill(m);
  SaleOrderSummaryDAOImpl dao;
  ASSERT_TRUE(dao.add(m));

  const auto rows = Utility::SearchBySQL(L"select * from SALE_ORDER_SUMMARY", DBNAME_SALE);
  ASSERT_EQ(rows.size(), 1u);
  columns.expectStored(rows[0], 1);
  const M back = dao.findById(1);
  EXPECT_EQ(back.ID, 1);
  columns.expectSame(back, m);
}

TEST(SaleOrderSummaryRecord, IntegralColumnsAre64BitColumnsInIntFields) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderSummaryDAOImpl dao;
  M m = summary(L"R1", L"");
  m.RETURN_INTEGRAL = -5;
  m.POST_INTEGRAL = -7;
  ASSERT_TRUE(dao.add(m));
  const auto stored = Utility::SearchBySQL(
      L"select typeof(RETURN_INTEGRAL) as T, RETURN_INTEGRAL from SALE_ORDER_SUMMARY", DBNAME_SALE);
  EXPECT_EQ(stored.at(0).at(L"T"), L"integer");
  EXPECT_EQ(stored.at(0).at(L"RETURN_INTEGRAL"), L"-5");
  M back = dao.findById(1);
  EXPECT_EQ(back.RETURN_INTEGRAL, -5);
  EXPECT_EQ(back.POST_INTEGRAL, -7);

  // Values beyond 32 bits read back as their low 32 bits, through every read.
  Utility::execDML(
      L"update SALE_ORDER_SUMMARY set RETURN_INTEGRAL = 4294967301, "
      L"POST_INTEGRAL = -4294967297",
      DBNAME_SALE);
  back = dao.findById(1);
  EXPECT_EQ(back.RETURN_INTEGRAL, 5);
  EXPECT_EQ(back.POST_INTEGRAL, -1);
  EXPECT_EQ(dao.findBySQL(L"select * from SALE_ORDER_SUMMARY").at(0).RETURN_INTEGRAL, 5);

  // The setters by name: the 64-bit one takes them, the int one does not.
  M set;
  set.setInt64Field(L"RETURN_INTEGRAL", 4294967301LL);
  set.setInt64Field(L"ID", 5000000000LL);
  set.setIntField(L"POST_INTEGRAL", 3);
  set.setInt64Field(L"STATUS", 4);
  EXPECT_EQ(set.RETURN_INTEGRAL, 5);
  EXPECT_EQ(set.ID, 5000000000LL);
  EXPECT_EQ(set.POST_INTEGRAL, 0);
  EXPECT_EQ(set.STATUS, 0);
}

TEST(SaleOrderSummarySave, StampsNewSummariesAndUpdatesTheMatchedRow) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderSummaryDAOImpl dao;
  ASSERT_TRUE(dao.add(summary(L"R1", L"stored")));

  DebugCapture capture;
  M fresh = summary(L"R2", L"fresh", 9);
  fresh.CREATE_TIME = L"2001-01-01 00:00:00";
  fresh.UPDATE_TIME = L"2001-01-01 00:00:00";
  M matched = summary(L"R1", L"matched", 0);
  matched.CREATE_TIME = L"2002-02-02 00:00:00";
  const std::wstring before = Utility::GetNowTime();
  ASSERT_TRUE(dao.save(std::vector<M>{fresh, matched}));
  const std::wstring after = Utility::GetNowTime();

  // The new summary: under the table's ID, both times stamped although set.
  EXPECT_EQ(dao.findById(9).ID, 0);
  const M added = dao.findById(2);
  EXPECT_EQ(added.REMARK, L"fresh");
  expectStampedBetween(added.CREATE_TIME, before, after);
  EXPECT_EQ(added.UPDATE_TIME, added.CREATE_TIME);
  // ID 0 on a matched RAND_ID: the matched row, with the caller's times.
  const M one = dao.findById(1);
  EXPECT_EQ(one.REMARK, L"matched");
  EXPECT_EQ(one.CREATE_TIME, L"2002-02-02 00:00:00");
  EXPECT_EQ(one.UPDATE_TIME, L"");
  EXPECT_EQ(dao.count(), 2);

  const auto lines = capture.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind(L"SaleOrderSummaryDAOImpl::save::Add 1条Item ", 0), 0u);
  EXPECT_EQ(lines[1].rfind(L"SaleOrderSummaryDAOImpl::save::Updates 1条Item ", 0), 0u);
}

}  // namespace
