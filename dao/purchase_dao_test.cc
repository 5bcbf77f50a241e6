// The purchase's data access on a real keyed main file: its columns, the identifiers of new
// purchases (largest stored ID plus 1, also after deletes), the update of a matched RAND_ID and
// CREATE_USER, and findById beyond the 32-bit range.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmxdao/dao/PurchaseDAOImpl.h"
#include "qmxdao/storage/Utility.h"
#include "testing/column_check.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::PurchaseDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::ColumnCheck;
using qmxdao::test::DebugCapture;
using qmxdao::test::expectStampedBetween;
using qmxdao::test::TempShop;
using P = QMXDataDomain::___PURCHASE_INFO;

P purchase(const std::wstring& randId, const std::wstring& user, long long id = 0) {
  P p;
  p.ID = id;
  p.RAND_ID = randId;
  p.CREATE_USER = user;
  return p;
}

std::wstring remarkOf(long long id) {
  auto rows = Utility::SearchBySQL(
      L"select REMARK from PURCHASE_INFO where ID = " + std::to_wstring(id), DBNAME_MAIN);
  return rows.empty() ? L"<no row>" : rows[0][L"REMARK"];
}

TEST(PurchaseRecord, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  const ColumnCheck<P> columns{
      {QMX_COLUMN(P, READONLY),      QMX_COLUMN(P, MERCHANT_NAME), QMX_COLUMN(P, PACHAGETYPE),
       QMX_COLUMN(P, UPC),           QMX_COLUMN(P, RAND_ID),       QMX_COLUMN(P, POS),
       QMX_COLUMN(P, PURCHASE_TIME), QMX_COLUMN(P, CREATE_TIME),   QMX_COLUMN(P, UPDATE_TIME),
       QMX_COLUMN(P, REMARK),        QMX_COLUMN(P, CREATE_USER),   QMX_COLUMN(P, MERCHANT_ID),
       QMX_COLUMN(P, EXT1),          QMX_COLUMN(P, EXT2),          QMX_COLUMN(P, EXT3),
       QMX_COLUMN(P, EXT4),          QMX_COLUMN(P, EXT5),          QMX_COLUMN(P, EXT6),
       QMX_COLUMN(P, EXT7),          QMX_COLUMN(P, EXT8),          QMX_COLUMN(P, EXT9),
       QMX_COLUMN(P, EXT10)},
      {QMX_COLUMN(P, ITEM_ID), QMX_COLUMN(P, SUBMIT), QMX_COLUMN(P, DEL_FLAG)},
      {QMX_COLUMN(P, PURCHASE_NUM), QMX_COLUMN(P, PUR_PRICE), QMX_COLUMN(P, PAID_PRICE),
       QMX_COLUMN(P, DEBT_PRICE), QMX_COLUMN(P, TOTAL_PRICE)}};
  P p;
  columns.fill(p);
  PurchaseDAOImpl dao;
  ASSERT_TRUE(dao.add(p));

  const auto rows = Utility::SearchBySQL(L"select * from PURCHASE_INFO", DBNAME_MAIN);
  ASSERT_EQ(rows.size(), 1u);
  columns.expectStored(rows[0], 1);
  const P back = dao.findById(1);
  EXPECT_EQ(back.ID, 1);
  columns.expectSame(back, p);
}

TEST(PurchaseSave, NewPurchasesGetTheLargestIdPlusOneEvenAfterDeletes) {
  TempShop shop(TempShop::Layout::kInstalled);
  PurchaseDAOImpl dao;
  std::vector<P> ten;
  for (int i = 1; i <= 10; ++i) ten.push_back(purchase(L"R" + std::to_wstring(i), L"u"));
  ASSERT_TRUE(dao.save(ten));
  ASSERT_EQ(dao.count(), 10);

  // Whatever the caller's IDs, even one of a stored row, the new rows follow the stored ones.
  std::vector<P> three = {purchase(L"N1", L"u", 0), purchase(L"N2", L"u", 3),
                          purchase(L"N3", L"u", 99)};
  three[0].REMARK = L"first";
  three[1].REMARK = L"second";
  three[1].CREATE_TIME = L"2001-02-03 04:05:06";
  three[1].UPDATE_TIME = L"2001-02-03 04:05:06";
  three[2].REMARK = L"third";
  const std::wstring before = Utility::GetNowTime();
  ASSERT_TRUE(dao.save(three));
  const std::wstring after = Utility::GetNowTime();
  EXPECT_EQ(remarkOf(11), L"first");
  EXPECT_EQ(remarkOf(12), L"second");
  EXPECT_EQ(remarkOf(13), L"third");
  EXPECT_EQ(remarkOf(3), L"");
  EXPECT_EQ(remarkOf(99), L"<no row>");

  // CREATE_TIME is stamped only when empty, UPDATE_TIME always.
  const P first = dao.findById(11);
  expectStampedBetween(first.CREATE_TIME, before, after);
  EXPECT_EQ(first.UPDATE_TIME, first.CREATE_TIME);
  const P second = dao.findById(12);
  EXPECT_EQ(second.CREATE_TIME, L"2001-02-03 04:05:06");
  expectStampedBetween(second.UPDATE_TIME, before, after);

  // With ID 5 gone, a row count plus 1 (13) would collide with a stored row.
  ASSERT_TRUE(dao.delet(5));
  P next = purchase(L"N4", L"u");
  next.REMARK = L"after delete";
  ASSERT_TRUE(dao.save(next));
  EXPECT_EQ(remarkOf(14), L"after delete");
  EXPECT_EQ(dao.count(), 13);
}

TEST(PurchaseSave, MatchedRandIdAndUserUpdatesAMatchedRow) {
  TempShop shop(TempShop::Layout::kInstalled);
  PurchaseDAOImpl dao;
  ASSERT_TRUE(dao.save(std::vector<P>{purchase(L"R1", L"alice"), purchase(L"R1", L"bob"),
                                      purchase(L"R2", L"alice")}));

  DebugCapture capture;
  // The incoming ID of the matched row: that row, with the caller's time texts.
  P byId = purchase(L"R1", L"alice", 1);
  byId.REMARK = L"by id";
  byId.CREATE_TIME = L"2010-01-01 00:00:00";
  byId.UPDATE_TIME = L"2010-01-02 00:00:00";
  ASSERT_TRUE(dao.save(byId));
  EXPECT_EQ(remarkOf(1), L"by id");
  EXPECT_EQ(dao.findById(1).UPDATE_TIME, L"2010-01-02 00:00:00");
  EXPECT_EQ(remarkOf(2), L"");
  ASSERT_EQ(capture.lines().size(), 1u);
  EXPECT_EQ(capture.lines()[0].rfind(L"PurchaseDAOImpl::save::Updates 1条Item ", 0), 0u);

  // ID 0, or the ID of an unrelated row: the matched row all the same.
  P noId = purchase(L"R2", L"alice", 0);
  noId.REMARK = L"no id";
  ASSERT_TRUE(dao.save(noId));
  EXPECT_EQ(remarkOf(3), L"no id");
  P otherId = purchase(L"R2", L"alice", 2);
  otherId.REMARK = L"other id";
  ASSERT_TRUE(dao.save(otherId));
  EXPECT_EQ(remarkOf(3), L"other id");
  EXPECT_EQ(remarkOf(2), L"");

  // The same RAND_ID under another CREATE_USER is another purchase.
  capture.clear();
  P carol = purchase(L"R1", L"carol");
  carol.REMARK = L"carol";
  ASSERT_TRUE(dao.save(carol));
  EXPECT_EQ(remarkOf(4), L"carol");
  EXPECT_EQ(dao.count(), 4);
  ASSERT_EQ(capture.lines().size(), 1u);
  EXPECT_EQ(capture.lines()[0].rfind(L"PurchaseDAOImpl::save::Add 1条Item ", 0), 0u);
}

TEST(PurchaseFindById, FindsAnIdBeyondThe32BitRange) {
  TempShop shop(TempShop::Layout::kInstalled);
  // 705032704 is the low 32 bits of 5000000000: a truncated ID would find the wrong row.
  Utility::execDML(
      L"insert into PURCHASE_INFO (ID, REMARK) values (5000000000, 'far'), "
      L"(705032704, 'near')",
      DBNAME_MAIN);
  PurchaseDAOImpl dao;
  const P far = dao.findById(5000000000LL);
  EXPECT_EQ(far.ID, 5000000000LL);
  EXPECT_EQ(far.REMARK, L"far");
  EXPECT_EQ(dao.findById(6000000000LL).ID, 0);
}

}  // namespace
