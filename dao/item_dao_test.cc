// The item's data access on a real keyed main file: what every record shares, and the item's own
// change test (which fields count), its REMARK merge and modify, which only ever inserts.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "domain/item_table.h"
#include "qmxdao/dao/ItemDAOImpl.h"
#include "testing/record_dao_tests.h"

namespace {

using QMXDAO::ItemDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::DebugCapture;
using qmxdao::test::Lines;
using qmxdao::test::TempShop;
using qmxdao::test::untimed;
using QMXDataDomain::___ITEM;

struct ItemTraits : qmxdao::test::RecordTraits {
  using Dao = ItemDAOImpl;
  using Record = ___ITEM;
  static constexpr const wchar_t* kTable = L"ITEM";
  static constexpr const wchar_t* kLines = L"ItemDAOImpl::save::";
  static constexpr auto kStamp = qmxdao::NewRecordStamp::kCreateTimeWhenEmpty;
  static constexpr bool kMergeKeepsId = true;
  static constexpr bool kDropsUnchanged = true;
  static constexpr std::wstring Record::*kKey[2] = {&Record::UPC, &Record::ORG};
  static constexpr std::wstring Record::*kValue = &Record::ITEM_NAME;
  static auto columns() {
    return qmxdao::test::ColumnCheck<Record>(
        QMX_COLUMN(ITEM_NAME), QMX_COLUMN(STANDART), QMX_COLUMN(STORE_CODE), QMX_COLUMN(UPC),
        QMX_COLUMN(UNIT_ID), QMX_COLUMN(PACKAGETYPE), QMX_COLUMN(CREATUSER), QMX_COLUMN(READONlY),
        QMX_COLUMN(TYPEID), QMX_COLUMN(ORG), QMX_COLUMN(PUR_PRICE), QMX_COLUMN(SALE_PRICE),
        QMX_COLUMN(MEM_PRICE), QMX_COLUMN(DISCOUNT_RATE), QMX_COLUMN(MERCHANT_ID),
        QMX_COLUMN(REMARK), QMX_COLUMN(SUBMIT), QMX_COLUMN(ITEM_TYPE_ID), QMX_COLUMN(ERRCOUNT));
  }
};

const std::wstring kAdd = L"ItemDAOImpl::save::Add 1条Item \n";
const std::wstring kUpdate = L"ItemDAOImpl::save::Updates 1条Item \n";

bool same(const ___ITEM& a, const ___ITEM& b) { return !qmxdao::itemTable().differs(a, b, {}); }

___ITEM item(const std::wstring& upc, float salePrice) {
  ___ITEM i;
  i.UPC = upc;
  i.ORG = L"shop";
  i.SALE_PRICE = salePrice;
  i.REMARK = L"stored remark";
  i.CREATE_TIME = L"2015-01-01 08:00:00";
  i.UPDATE_TIME = L"2015-01-02 08:00:00";
  return i;
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
  EXPECT_EQ(untimed(capture), Lines{kAdd});
  EXPECT_TRUE(same(dao.findById(1), stored));
  EXPECT_EQ(dao.count(), 2);
}

TEST(ItemSave, AnEmptyRemarkKeepsTheStoredOneAndAChangedRemarkIsAChange) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemDAOImpl dao;
  ASSERT_TRUE(dao.add(item(L"690", 3.5f)));

  ___ITEM incoming = item(L"690", 4.5f);
  incoming.REMARK = L"";
  DebugCapture capture;
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_FLOAT_EQ(dao.findById(1).SALE_PRICE, 4.5f);
  EXPECT_EQ(dao.findById(1).REMARK, L"stored remark");
  incoming.REMARK = L"new remark";
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_EQ(dao.findById(1).REMARK, L"new remark");
  EXPECT_EQ(untimed(capture), Lines(2, kUpdate));
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
  EXPECT_EQ(untimed(capture), Lines{kUpdate});
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
  EXPECT_EQ(untimed(capture), Lines(4, kUpdate));
  EXPECT_FLOAT_EQ(dao.findById(1).SALE_PRICE, 1.234568f);
  EXPECT_EQ(dao.count(), 1);
}

// The lookup is shared by every record: one record with a quoted key stands for all.
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
  EXPECT_EQ(untimed(capture), (Lines{kAdd, kUpdate}));
  ASSERT_EQ(dao.count(), 1);
  const ___ITEM stored = dao.findById(1);
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
  EXPECT_EQ(untimed(capture), Lines{L"ItemDAOImpl::save::Add 2条Item \n"});
  EXPECT_TRUE(same(dao.findById(1), stored));
  const ___ITEM inserted = dao.findById(2);
  EXPECT_EQ(inserted.UPC, L"700");
  qmxdao::test::expectStampedBetween(inserted.CREATE_TIME, before, after);
  EXPECT_EQ(inserted.UPDATE_TIME, inserted.CREATE_TIME);
  EXPECT_EQ(dao.findById(3).UPC, L"701");

  // All stored: an empty transaction, no line, and still true.
  capture.clear();
  ASSERT_TRUE(dao.modify(std::vector<___ITEM>{changed, fresh}));
  EXPECT_TRUE(capture.lines().empty());
  EXPECT_EQ(dao.count(), 3);
  EXPECT_TRUE(same(dao.findById(1), stored));
}

TEST(ItemModify, AnEmptyVectorOpensNothing) {
  TempShop shop(TempShop::Layout::kNoDbFolder);
  ItemDAOImpl dao;
  EXPECT_FALSE(dao.modify({}));
  EXPECT_FALSE(dao.save(std::vector<___ITEM>{}));
  EXPECT_FALSE(std::filesystem::exists(shop.dbFolder()));
}

}  // namespace

namespace qmxdao::test {
INSTANTIATE_TYPED_TEST_SUITE_P(Item, RecordDao, ItemTraits);
}  // namespace qmxdao::test
