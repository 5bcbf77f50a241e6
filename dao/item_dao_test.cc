// The item's data access on a real keyed main file: every column stored under its own name, and
// the batch save's change test and merge (which row it writes, what it keeps), and modify, which
// only ever inserts.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "domain/item_table.h"
#include "qmxdao/dao/ItemDAOImpl.h"
#include "qmxdao/storage/Utility.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::ItemDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::DebugCapture;
using qmxdao::test::TempShop;
using QMXDataDomain::___ITEM;
using Lines = std::vector<std::wstring>;

std::map<std::wstring, std::wstring> storedRow(long long id) {
  auto rows =
      Utility::SearchBySQL(L"select * from ITEM where ID = " + std::to_wstring(id), DBNAME_MAIN);
  return rows.size() == 1 ? rows[0] : std::map<std::wstring, std::wstring>{};
}

bool same(const ___ITEM& a, const ___ITEM& b) { return !qmxdao::itemTable().differs(a, b, {}); }

// The debug lines with their time text (the 19 characters before the line end) cut out.
Lines untimed(const DebugCapture& capture) {
  Lines lines;
  for (std::wstring line : capture.lines()) {
    if (line.size() >= 20) line.erase(line.size() - 20, 19);
    lines.push_back(line);
  }
  return lines;
}

___ITEM item(const std::wstring& upc, float salePrice) {
  ___ITEM i;
  i.UPC = upc;
  i.ORG = L"shop";
  i.ITEM_NAME = L"tea";
  i.SALE_PRICE = salePrice;
  i.REMARK = L"stored remark";
  i.CREATE_TIME = L"2015-01-01 08:00:00";
  i.UPDATE_TIME = L"2015-01-02 08:00:00";
  return i;
}

TEST(ItemRecord, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  ___ITEM i;
  i.ID = 77;  // add leaves the identifier to the table
  i.ITEM_NAME = L"ITEM_NAME";
  i.STANDART = L"STANDART";
  i.STORE_CODE = L"STORE_CODE";
  i.UPC = L"UPC";
  i.UNIT_ID = L"UNIT_ID";
  i.PACKAGETYPE = L"PACKAGETYPE";
  i.CREATUSER = L"CREATUSER";
  i.READONlY = L"READONlY";
  i.TYPEID = L"TYPEID";
  i.ORG = L"ORG";
  i.PUR_PRICE = 1.25f;
  i.SALE_PRICE = 2.5f;
  i.MEM_PRICE = 12.345678f;
  i.DISCOUNT_RATE = -0.125f;
  i.MERCHANT_ID = L"MERCHANT_ID";
  i.REMARK = L"REMARK";
  i.SUBMIT = 11;
  i.CREATE_TIME = L"CREATE_TIME";
  i.UPDATE_TIME = L"UPDATE_TIME";
  i.ITEM_TYPE_ID = 12;
  i.DEL_FLAG = 13;
  i.ERRCOUNT = -14;
  i.EXT1 = L"EXT1";
  i.EXT2 = L"EXT2";
  i.EXT3 = L"EXT3";
  i.EXT4 = L"EXT4";
  i.EXT5 = L"EXT5";
  i.EXT6 = L"EXT6";
  i.EXT7 = L"EXT7";
  i.EXT8 = L"EXT8";
  i.EXT9 = L"EXT9";
  i.EXT10 = L"EXT10";
  ItemDAOImpl dao;
  ASSERT_TRUE(dao.add(i));

  const std::map<std::wstring, std::wstring> numbers = {{L"ID", L"1"},
                                                        {L"PUR_PRICE", L"1.25"},
                                                        {L"SALE_PRICE", L"2.5"},
                                                        {L"MEM_PRICE", L"12.345678"},
                                                        {L"DISCOUNT_RATE", L"-0.125"},
                                                        {L"SUBMIT", L"11"},
                                                        {L"ITEM_TYPE_ID", L"12"},
                                                        {L"DEL_FLAG", L"13"},
                                                        {L"ERRCOUNT", L"-14"}};
  const auto row = storedRow(1);
  EXPECT_EQ(row.size(), 33u);
  for (const auto& [column, value] : row) {
    auto number = numbers.find(column);
    EXPECT_EQ(value, number != numbers.end() ? number->second : column) << "column " << column;
  }
  i.ID = 1;
  EXPECT_TRUE(same(dao.findById(1), i));
}

TEST(ItemSave, AnUnchangedItemIsDroppedWhateverItsIdTimesAndCounters) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemDAOImpl dao;
  ASSERT_TRUE(dao.add(item(L"690", 3.5f)));
  const ___ITEM stored = dao.findById(1);

  std::vector<___ITEM> unchanged(5, stored);
  unchanged[0].ID = 0;
  unchanged[1].CREATE_TIME = L"2020-01-01 00:00:00";
  unchanged[2].UPDATE_TIME = L"";
  unchanged[3].DEL_FLAG = 1;
  unchanged[4].ERRCOUNT = 9;
  DebugCapture capture;
  for (const ___ITEM& incoming : unchanged) EXPECT_TRUE(dao.save(incoming));
  // Dropped items are counted in neither line, even beside a new one.
  EXPECT_TRUE(dao.save(std::vector<___ITEM>{unchanged[1], item(L"691", 1.0f)}));
  EXPECT_EQ(untimed(capture), (Lines{L"ItemDAOImpl::save::Add 1条Item \n"}));
  EXPECT_TRUE(same(dao.findById(1), stored));
  EXPECT_EQ(dao.count(), 2);
}

TEST(ItemSave, AChangedItemUpdatesItsStoredRowKeepingIdAndAStoredRemark) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemDAOImpl dao;
  ASSERT_TRUE(dao.add(std::vector<___ITEM>{item(L"690", 3.5f), item(L"691", 7.0f)}));
  const ___ITEM other = dao.findById(2);

  // ID 0, then the other row's ID: the row of the matching UPC and ORG is written either way,
  // with the incoming time texts, unstamped.
  ___ITEM incoming = item(L"690", 4.0f);
  incoming.CREATE_TIME = L"c";
  incoming.UPDATE_TIME = L"u";
  DebugCapture capture;
  ASSERT_TRUE(dao.save(incoming));
  incoming.ID = 2;
  incoming.SALE_PRICE = 4.5f;
  incoming.REMARK = L"";
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_EQ(untimed(capture), (Lines{L"ItemDAOImpl::save::Updates 1条Item \n",
                                     L"ItemDAOImpl::save::Updates 1条Item \n"}));
  ___ITEM first = dao.findById(1);
  EXPECT_FLOAT_EQ(first.SALE_PRICE, 4.5f);
  EXPECT_EQ(first.REMARK, L"stored remark");
  EXPECT_EQ(first.CREATE_TIME, L"c");
  EXPECT_EQ(first.UPDATE_TIME, L"u");
  EXPECT_TRUE(same(dao.findById(2), other));

  // A remark is a change like any other field, and a non-empty one replaces the stored one.
  incoming.REMARK = L"new remark";
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_EQ(dao.findById(1).REMARK, L"new remark");
  EXPECT_EQ(dao.count(), 2);
}

TEST(ItemSave, SeveralMatchingRowsCompareAndUpdateTheLastOneRead) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemDAOImpl dao;
  ASSERT_TRUE(
      dao.add(std::vector<___ITEM>{item(L"690", 1.0f), item(L"690", 2.0f), item(L"690", 3.0f)}));
  const ___ITEM firstStored = dao.findById(1);

  DebugCapture capture;
  ASSERT_TRUE(dao.save(dao.findById(3)));  // equal to the last row: nothing to do
  EXPECT_TRUE(capture.lines().empty());

  // Equal to the first row but not to the last: the last row takes its values.
  ASSERT_TRUE(dao.save(firstStored));
  EXPECT_EQ(untimed(capture), (Lines{L"ItemDAOImpl::save::Updates 1条Item \n"}));
  EXPECT_FLOAT_EQ(dao.findById(3).SALE_PRICE, 1.0f);
  EXPECT_FLOAT_EQ(dao.findById(2).SALE_PRICE, 2.0f);
  EXPECT_TRUE(same(dao.findById(1), firstStored));
}

TEST(ItemSave, APriceThatDoesNotReadBackTheSameIsAChangeOnEverySave) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemDAOImpl dao;
  ASSERT_TRUE(dao.add(item(L"690", 3.5f)));

  ___ITEM notANumber = item(L"690", std::numeric_limits<float>::quiet_NaN());
  ___ITEM sevenDecimals = item(L"690", 1.2345678f);  // stored as 1.234568
  DebugCapture capture;
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(dao.save(notANumber));
    ASSERT_TRUE(dao.save(sevenDecimals));
  }
  EXPECT_EQ(untimed(capture), Lines(4, L"ItemDAOImpl::save::Updates 1条Item \n"));
  EXPECT_FLOAT_EQ(dao.findById(1).SALE_PRICE, 1.234568f);
  EXPECT_EQ(dao.count(), 1);
}

TEST(ItemSave, AKeyWithASingleQuoteIsLookedUpLikeAnyOther) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemDAOImpl dao;
  ___ITEM quoted = item(L"it's", 3.5f);
  quoted.ORG = L"O'Neil's";
  DebugCapture capture;
  ASSERT_TRUE(dao.save(quoted));
  ASSERT_TRUE(dao.save(quoted));  // found and unchanged
  quoted.SALE_PRICE = 4.0f;
  ASSERT_TRUE(dao.save(quoted));
  ASSERT_TRUE(dao.modify(std::vector<___ITEM>{quoted}));
  EXPECT_EQ(untimed(capture), (Lines{L"ItemDAOImpl::save::Add 1条Item \n",
                                     L"ItemDAOImpl::save::Updates 1条Item \n"}));
  ASSERT_EQ(dao.count(), 1);
  ___ITEM stored = dao.findById(1);
  EXPECT_EQ(stored.UPC, L"it's");
  EXPECT_EQ(stored.ORG, L"O'Neil's");
  EXPECT_FLOAT_EQ(stored.SALE_PRICE, 4.0f);
}

TEST(ItemModify, InsertsOnlyNewKeysStampingBothTimes) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemDAOImpl dao;
  ASSERT_TRUE(dao.add(item(L"690", 3.5f)));
  const ___ITEM stored = dao.findById(1);

  ___ITEM changed = item(L"690", 9.0f);
  ___ITEM fresh = item(L"700", 1.0f);
  fresh.ID = 1;  // the table assigns the identifier
  const std::wstring before = Utility::GetNowTime();
  DebugCapture capture;
  ASSERT_TRUE(dao.modify(std::vector<___ITEM>{changed, fresh, item(L"701", 2.0f)}));
  const std::wstring after = Utility::GetNowTime();
  EXPECT_EQ(untimed(capture), (Lines{L"ItemDAOImpl::save::Add 2条Item \n"}));
  EXPECT_TRUE(same(dao.findById(1), stored));
  ___ITEM inserted = dao.findById(2);
  EXPECT_EQ(inserted.UPC, L"700");
  EXPECT_EQ(inserted.CREATE_TIME.size(), 19u);
  EXPECT_LE(before, inserted.CREATE_TIME);
  EXPECT_LE(inserted.CREATE_TIME, after);
  EXPECT_EQ(inserted.UPDATE_TIME, inserted.CREATE_TIME);
  EXPECT_EQ(dao.findById(3).UPC, L"701");

  // All stored: an empty transaction, no line, and still true.
  capture.clear();
  ASSERT_TRUE(dao.modify(std::vector<___ITEM>{changed, fresh}));
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_EQ(dao.count(), 3);
  EXPECT_TRUE(same(dao.findById(1), stored));

  // The batch save, by contrast, keeps a new item's own CREATE_TIME.
  ASSERT_TRUE(dao.save(item(L"702", 1.0f)));
  ___ITEM saved = dao.findById(4);
  EXPECT_EQ(saved.CREATE_TIME, L"2015-01-01 08:00:00");
  EXPECT_EQ(saved.UPDATE_TIME.size(), 19u);
  EXPECT_NE(saved.UPDATE_TIME, L"2015-01-02 08:00:00");
}

TEST(ItemModify, AnEmptyVectorOpensNothing) {
  TempShop shop(TempShop::Layout::kNoDbFolder);
  ItemDAOImpl dao;
  EXPECT_FALSE(dao.modify({}));
  EXPECT_FALSE(dao.save(std::vector<___ITEM>{}));
  EXPECT_FALSE(std::filesystem::exists(shop.dbFolder()));
}

}  // namespace
