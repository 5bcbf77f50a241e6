// The merchant's data access on a real keyed main file: every column stored under its own name,
// the stamping of new merchants, and the update of a matched GUID under the stored ID.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "domain/merchant_table.h"
#include "qmxdao/dao/MerchantDAOImpl.h"
#include "qmxdao/storage/Utility.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::MerchantDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::DebugCapture;
using qmxdao::test::TempShop;
using QMXDataDomain::___MERCHANT_INFO;
using Lines = std::vector<std::wstring>;

bool same(const ___MERCHANT_INFO& a, const ___MERCHANT_INFO& b) {
  return !qmxdao::merchantTable().differs(a, b, {});
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

___MERCHANT_INFO merchant(const std::wstring& guid, const std::wstring& name, long long id = 0) {
  ___MERCHANT_INFO m;
  m.ID = id;
  m.GUID = guid;
  m.NAME = name;
  m.CREATE_TIME = L"2015-01-01 08:00:00";
  m.UPDATE_TIME = L"2015-01-02 08:00:00";
  return m;
}

TEST(MerchantRecord, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  ___MERCHANT_INFO m;
  m.CONTACTS = L"CONTACTS";
  m.QQ = L"QQ";
  m.TEL = L"TEL";
  m.MOBILE = L"MOBILE";
  m.ADDR = L"ADDR";
  m.GUID = L"GUID";
  m.NAME = L"NAME";
  m.ORG = L"ORG";
  m.CREATE_TIME = L"CREATE_TIME";
  m.UPDATE_TIME = L"UPDATE_TIME";
  m.DEL_FLAG = 5;
  m.SUBMIT = -6;
  m.EXT1 = L"EXT1";
  m.EXT2 = L"EXT2";
  m.EXT3 = L"EXT3";
  m.EXT4 = L"EXT4";
  m.EXT5 = L"EXT5";
  m.EXT6 = L"EXT6";
  m.EXT7 = L"EXT7";
  m.EXT8 = L"EXT8";
  m.EXT9 = L"EXT9";
  m.EXT10 = L"EXT10";
  MerchantDAOImpl dao;
  ASSERT_TRUE(dao.add(m));

  const std::map<std::wstring, std::wstring> numbers = {
      {L"ID", L"1"}, {L"DEL_FLAG", L"5"}, {L"SUBMIT", L"-6"}};
  const auto rows = Utility::SearchBySQL(L"select * from MERCHANT_INFO", DBNAME_MAIN);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].size(), 23u);
  for (const auto& [column, value] : rows[0]) {
    auto number = numbers.find(column);
    EXPECT_EQ(value, number != numbers.end() ? number->second : column) << "column " << column;
  }
  m.ID = 1;
  EXPECT_TRUE(same(dao.findById(1), m));
}

TEST(MerchantSave, AMatchedGuidUpdatesTheStoredRowWhateverIdItCarries) {
  TempShop shop(TempShop::Layout::kInstalled);
  MerchantDAOImpl dao;
  // Rows 3 and 4 share a GUID.
  ASSERT_TRUE(dao.add(
      std::vector<___MERCHANT_INFO>{merchant(L"g1", L"one"), merchant(L"g2", L"two"),
                                    merchant(L"g3", L"twin a"), merchant(L"g3", L"twin b")}));
  const ___MERCHANT_INFO second = dao.findById(2);
  const ___MERCHANT_INFO third = dao.findById(3);

  ___MERCHANT_INFO incoming = merchant(L"g1", L"renamed");
  incoming.CREATE_TIME = L"c";
  incoming.UPDATE_TIME = L"u";
  incoming.TEL = L"555";
  DebugCapture capture;
  ASSERT_TRUE(dao.save(incoming));
  incoming.ID = 1;
  EXPECT_TRUE(same(dao.findById(1), incoming));  // time texts as given, unstamped

  incoming.ID = 2;  // another row's ID
  incoming.NAME = L"again";
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_EQ(dao.findById(1).NAME, L"again");
  EXPECT_TRUE(same(dao.findById(2), second));

  // Several rows with the GUID: the last one read, even when the ID names the first.
  ASSERT_TRUE(dao.save(merchant(L"g3", L"twin c", 3)));
  EXPECT_TRUE(same(dao.findById(3), third));
  EXPECT_EQ(dao.findById(4).NAME, L"twin c");
  EXPECT_EQ(dao.count(), 4);
  EXPECT_EQ(untimed(capture), Lines(3, L"MerchantDAOImpl::modify::Updates 1条Item \n"));
}

TEST(MerchantSave, NewMerchantsKeepAGivenCreateTimeAndGetTableIds) {
  TempShop shop(TempShop::Layout::kInstalled);
  MerchantDAOImpl dao;
  ASSERT_TRUE(dao.add(merchant(L"g1", L"one")));

  ___MERCHANT_INFO unstamped = merchant(L"it's", L"quoted", 1);
  unstamped.CREATE_TIME = L"";
  const std::wstring before = Utility::GetNowTime();
  DebugCapture capture;
  ASSERT_TRUE(dao.save(std::vector<___MERCHANT_INFO>{merchant(L"g2", L"two", 1), unstamped}));
  const std::wstring after = Utility::GetNowTime();
  EXPECT_EQ(untimed(capture), (Lines{L"MerchantDAOImpl::modify::Add 2条Item \n"}));
  EXPECT_EQ(dao.findById(1).NAME, L"one");

  ___MERCHANT_INFO two = dao.findById(2);
  EXPECT_EQ(two.NAME, L"two");
  EXPECT_EQ(two.CREATE_TIME, L"2015-01-01 08:00:00");
  ___MERCHANT_INFO quoted = dao.findById(3);
  EXPECT_EQ(quoted.GUID, L"it's");
  EXPECT_EQ(quoted.CREATE_TIME.size(), 19u);
  EXPECT_LE(before, quoted.CREATE_TIME);
  EXPECT_LE(quoted.CREATE_TIME, after);
  for (const ___MERCHANT_INFO& stored : {two, quoted}) {
    EXPECT_EQ(stored.UPDATE_TIME.size(), 19u);
    EXPECT_LE(before, stored.UPDATE_TIME);
    EXPECT_LE(stored.UPDATE_TIME, after);
  }

  // The quoted GUID is found again.
  capture.clear();
  quoted.NAME = L"found";
  quoted.ID = 0;
  ASSERT_TRUE(dao.save(quoted));
  EXPECT_EQ(untimed(capture), (Lines{L"MerchantDAOImpl::modify::Updates 1条Item \n"}));
  EXPECT_EQ(dao.findById(3).NAME, L"found");
  EXPECT_EQ(dao.count(), 3);
}

}  // namespace
