// The stock quantity's data access on a real keyed main file: every column stored under its own
// name, the identifiers the batch save gives new records (also after a delete), and the update of
// a matched EXT1 and EXT2 under the stored ID.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "domain/item_qty_table.h"
#include "qmxdao/dao/ItemQtyDAOImpl.h"
#include "qmxdao/storage/Utility.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::ItemQtyDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::DebugCapture;
using qmxdao::test::TempShop;
using QMXDataDomain::___ITEM_QTY;
using Lines = std::vector<std::wstring>;

bool same(const ___ITEM_QTY& a, const ___ITEM_QTY& b) {
  return !qmxdao::itemQtyTable().differs(a, b, {});
}

// The debug lines with their time text (the 19 characters before the line end) cut out.
Lines untimed(const DebugCapture& capture) {
  Lines lines;
  for (std::wstring line : capture.lines()) {
    if (line.size() >= 20) line.erase(line.size() - 20, 19);
    lines.push_back(line);
  }
  return lines;
}

___ITEM_QTY quantity(const std::wstring& ext1, const std::wstring& ext2, float qty,
                     long long id = 0) {
  ___ITEM_QTY q;
  q.ID = id;
  q.EXT1 = ext1;
  q.EXT2 = ext2;
  q.QTY = qty;
  q.CREATE_TIME = L"2015-01-01 08:00:00";
  q.UPDATE_TIME = L"2015-01-02 08:00:00";
  return q;
}

TEST(ItemQtyRecord, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  ___ITEM_QTY q;
  q.SUBMIT = 1;
  q.STORAGE_ID = 2;
  q.EXT8 = L"EXT8";
  q.PUR_RETURN = 3.25f;
  q.PUR_RAND_ID = L"PUR_RAND_ID";
  q.EXT2 = L"EXT2";
  q.QTY = 12.345678f;
  q.SALE_RETURN = -4.5f;
  q.EXT7 = L"EXT7";
  q.EXT1 = L"EXT1";
  q.EXT3 = L"EXT3";
  q.UPDATE_TIME = L"UPDATE_TIME";
  q.EXT6 = L"EXT6";
  q.EXT4 = L"EXT4";
  q.CREATE_TIME = L"CREATE_TIME";
  q.SALE_DAY_AVE = 0.75f;
  q.EXT9 = L"EXT9";
  q.EXT5 = L"EXT5";
  q.EXT10 = L"EXT10";
  q.ITEM_ID = 2147483647;
  q.PUR_NUM = 6.5f;
  q.DEL_FLAG = -7;
  q.SALE_NUM = 8.125f;
  ItemQtyDAOImpl dao;
  ASSERT_TRUE(dao.add(q));

  const std::map<std::wstring, std::wstring> numbers = {{L"ID", L"1"},
                                                        {L"SUBMIT", L"1"},
                                                        {L"STORAGE_ID", L"2"},
                                                        {L"PUR_RETURN", L"3.25"},
                                                        {L"QTY", L"12.345678"},
                                                        {L"SALE_RETURN", L"-4.5"},
                                                        {L"SALE_DAY_AVE", L"0.75"},
                                                        {L"ITEM_ID", L"2147483647"},
                                                        {L"PUR_NUM", L"6.5"},
                                                        {L"DEL_FLAG", L"-7"},
                                                        {L"SALE_NUM", L"8.125"}};
  const auto rows = Utility::SearchBySQL(L"select * from ITEM_QTY", DBNAME_MAIN);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].size(), 24u);
  for (const auto& [column, value] : rows[0]) {
    auto number = numbers.find(column);
    EXPECT_EQ(value, number != numbers.end() ? number->second : column) << "column " << column;
  }
  q.ID = 1;
  EXPECT_TRUE(same(dao.findById(1), q));
}

TEST(ItemQtySave, NewRecordsAreNumberedAfterTheLargestIdAlsoAfterADelete) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemQtyDAOImpl dao;
  std::vector<___ITEM_QTY> stored;
  for (int i = 1; i <= 5; ++i) stored.push_back(quantity(L"s" + std::to_wstring(i), L"w", 1.0f));
  ASSERT_TRUE(dao.add(stored));

  // Whatever identifier they carry, including a stored one.
  const std::wstring before = Utility::GetNowTime();
  DebugCapture capture;
  ASSERT_TRUE(dao.save(std::vector<___ITEM_QTY>{quantity(L"n6", L"w", 6.0f, 0),
                                                quantity(L"n7", L"w", 7.0f, 3),
                                                quantity(L"n8", L"w", 8.0f, 100)}));
  const std::wstring after = Utility::GetNowTime();
  EXPECT_EQ(untimed(capture), (Lines{L"ItemQtyDAOImpl::modify::Add 3条Item \n"}));
  for (long long id : {6LL, 7LL, 8LL}) {
    ___ITEM_QTY q = dao.findById(id);
    EXPECT_EQ(q.EXT1, L"n" + std::to_wstring(id));
    EXPECT_FLOAT_EQ(q.QTY, static_cast<float>(id));
    EXPECT_EQ(q.CREATE_TIME.size(), 19u);
    EXPECT_LE(before, q.CREATE_TIME);
    EXPECT_LE(q.CREATE_TIME, after);
    EXPECT_EQ(q.UPDATE_TIME, q.CREATE_TIME);
  }
  EXPECT_EQ(dao.findById(3).EXT1, L"s3");

  // Seven rows up to ID 8: counting rows would give 8 again, a stored identifier.
  ASSERT_TRUE(dao.delet(2));
  ASSERT_TRUE(dao.save(
      std::vector<___ITEM_QTY>{quantity(L"n9", L"w", 9.0f), quantity(L"n10", L"w", 10.0f)}));
  EXPECT_EQ(dao.count(), 9);
  EXPECT_EQ(dao.findById(8).EXT1, L"n8");
  EXPECT_EQ(dao.findById(9).EXT1, L"n9");
  EXPECT_EQ(dao.findById(10).EXT1, L"n10");
}

TEST(ItemQtySave, AMatchedKeyUpdatesTheStoredRowUnderItsOwnId) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemQtyDAOImpl dao;
  // Rows 1 and 2 differ in EXT2 alone; rows 3 and 4 share a key.
  ASSERT_TRUE(
      dao.add(std::vector<___ITEM_QTY>{quantity(L"a", L"1", 1.0f), quantity(L"a", L"2", 2.0f),
                                       quantity(L"b", L"1", 3.0f), quantity(L"b", L"1", 4.0f)}));
  const ___ITEM_QTY second = dao.findById(2);
  const ___ITEM_QTY third = dao.findById(3);

  DebugCapture capture;
  // An unchanged record is written too: there is no change test.
  ASSERT_TRUE(dao.save(dao.findById(1)));
  ___ITEM_QTY incoming = quantity(L"a", L"1", 10.0f, 2);
  incoming.CREATE_TIME = L"c";
  incoming.UPDATE_TIME = L"u";
  incoming.ITEM_ID = 42;
  ASSERT_TRUE(dao.save(std::vector<___ITEM_QTY>{incoming, quantity(L"b", L"1", 40.0f, 3)}));
  EXPECT_EQ(untimed(capture), (Lines{L"ItemQtyDAOImpl::modify::Updates 1条Item \n",
                                     L"ItemQtyDAOImpl::modify::Updates 2条Item \n"}));

  incoming.ID = 1;
  EXPECT_TRUE(same(dao.findById(1), incoming));  // time texts as given, unstamped
  EXPECT_TRUE(same(dao.findById(2), second));
  // Of the two rows with key b/1 the last one read is written, not the one the ID names.
  EXPECT_TRUE(same(dao.findById(3), third));
  EXPECT_FLOAT_EQ(dao.findById(4).QTY, 40.0f);
  EXPECT_EQ(dao.count(), 4);
}

}  // namespace
