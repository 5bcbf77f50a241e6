// The item type's data access on a real keyed main file: every column stored under its own name,
// and which row the batch save writes for a matched SEQ_ID and ORG.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "domain/item_type_table.h"
#include "qmxdao/dao/ItemTypeDAOImpl.h"
#include "qmxdao/storage/Utility.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::ItemTypeDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::DebugCapture;
using qmxdao::test::TempShop;
using QMXDataDomain::___ITEM_TYPE;
using Lines = std::vector<std::wstring>;

bool same(const ___ITEM_TYPE& a, const ___ITEM_TYPE& b) {
  return !qmxdao::itemTypeTable().differs(a, b, {});
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

___ITEM_TYPE itemType(const std::wstring& seqId, const std::wstring& org, const std::wstring& name,
                      long long id = 0) {
  ___ITEM_TYPE t;
  t.ID = id;
  t.SEQ_ID = seqId;
  t.ORG = org;
  t.TYPE_NAME = name;
  t.CREATE_TIME = L"2015-01-01 08:00:00";
  t.UPDATE_TIME = L"2015-01-02 08:00:00";
  return t;
}

TEST(ItemTypeRecord, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  ___ITEM_TYPE t;
  t.ORG = L"ORG";
  t.TYPE_NAME = L"TYPE_NAME";
  t.SEQ_ID = L"SEQ_ID";
  t.CREATE_TIME = L"CREATE_TIME";
  t.UPDATE_TIME = L"UPDATE_TIME";
  t.DEL_FLAG = 7;
  t.SUBMIT = -8;
  t.EXT1 = L"EXT1";
  t.EXT2 = L"EXT2";
  t.EXT3 = L"EXT3";
  t.EXT4 = L"EXT4";
  t.EXT5 = L"EXT5";
  t.EXT6 = L"EXT6";
  t.EXT7 = L"EXT7";
  t.EXT8 = L"EXT8";
  t.EXT9 = L"EXT9";
  t.EXT10 = L"EXT10";
  ItemTypeDAOImpl dao;
  ASSERT_TRUE(dao.add(t));

  const std::map<std::wstring, std::wstring> numbers = {
      {L"ID", L"1"}, {L"DEL_FLAG", L"7"}, {L"SUBMIT", L"-8"}};
  const auto rows = Utility::SearchBySQL(L"select * from ITEM_TYPE", DBNAME_MAIN);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].size(), 18u);
  for (const auto& [column, value] : rows[0]) {
    auto number = numbers.find(column);
    EXPECT_EQ(value, number != numbers.end() ? number->second : column) << "column " << column;
  }
  t.ID = 1;
  EXPECT_TRUE(same(dao.findById(1), t));
}

TEST(ItemTypeSave, AMatchedKeyUpdatesTheMatchedRowItsIdNamesOrElseTheLastOneRead) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemTypeDAOImpl dao;
  // Rows 1 and 2 share a SEQ_ID in different organisations; rows 3 and 4 share a key.
  ASSERT_TRUE(dao.add(std::vector<___ITEM_TYPE>{
      itemType(L"1", L"o1", L"drinks"), itemType(L"1", L"o2", L"food"),
      itemType(L"5", L"o1", L"twin a"), itemType(L"5", L"o1", L"twin b")}));
  const ___ITEM_TYPE second = dao.findById(2);

  ___ITEM_TYPE renamed = itemType(L"1", L"o1", L"tea", 1);
  renamed.CREATE_TIME = L"c";
  renamed.UPDATE_TIME = L"u";
  renamed.SUBMIT = 1;
  renamed.EXT3 = L"x";
  DebugCapture capture;
  ASSERT_TRUE(dao.save(renamed));
  EXPECT_TRUE(same(dao.findById(1), renamed));  // every column, time texts unstamped

  // An ID of 0, or of a row the key did not match, still writes the matched row.
  renamed.ID = 0;
  renamed.TYPE_NAME = L"coffee";
  ASSERT_TRUE(dao.save(renamed));
  renamed.ID = 2;
  renamed.TYPE_NAME = L"juice";
  ASSERT_TRUE(dao.save(renamed));
  renamed.ID = 1;
  EXPECT_TRUE(same(dao.findById(1), renamed));
  EXPECT_TRUE(same(dao.findById(2), second));

  // Of two matched rows, the one the ID names; with ID 0 the last one read.
  ASSERT_TRUE(dao.save(std::vector<___ITEM_TYPE>{itemType(L"5", L"o1", L"first", 3),
                                                 itemType(L"5", L"o1", L"last", 0)}));
  EXPECT_EQ(dao.findById(3).TYPE_NAME, L"first");
  EXPECT_EQ(dao.findById(4).TYPE_NAME, L"last");
  EXPECT_EQ(dao.count(), 4);
  EXPECT_EQ(untimed(capture), (Lines{L"ItemTypeDAOImpl::modify::Updates 1条Item \n",
                                     L"ItemTypeDAOImpl::modify::Updates 1条Item \n",
                                     L"ItemTypeDAOImpl::modify::Updates 1条Item \n",
                                     L"ItemTypeDAOImpl::modify::Updates 2条Item \n"}));
}

TEST(ItemTypeSave, NewTypesAreStampedAndNumberedByTheTableEvenWithOneKey) {
  TempShop shop(TempShop::Layout::kInstalled);
  ItemTypeDAOImpl dao;
  ASSERT_TRUE(dao.add(itemType(L"1", L"o1", L"drinks")));

  // Same new key twice: both lookups run before either insert.
  const std::wstring before = Utility::GetNowTime();
  DebugCapture capture;
  ASSERT_TRUE(dao.save(
      std::vector<___ITEM_TYPE>{itemType(L"9", L"o1", L"a", 77), itemType(L"9", L"o1", L"b", 1)}));
  const std::wstring after = Utility::GetNowTime();
  EXPECT_EQ(untimed(capture), (Lines{L"ItemTypeDAOImpl::modify::Add 2条Item \n"}));
  EXPECT_EQ(dao.count(), 3);
  EXPECT_EQ(dao.findById(1).TYPE_NAME, L"drinks");
  for (long long id : {2LL, 3LL}) {
    ___ITEM_TYPE stored = dao.findById(id);
    EXPECT_EQ(stored.TYPE_NAME, id == 2 ? L"a" : L"b");
    EXPECT_EQ(stored.CREATE_TIME.size(), 19u);
    EXPECT_LE(before, stored.CREATE_TIME);
    EXPECT_LE(stored.CREATE_TIME, after);
    EXPECT_EQ(stored.UPDATE_TIME, stored.CREATE_TIME);
  }
}

}  // namespace
