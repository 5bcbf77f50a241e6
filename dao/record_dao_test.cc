// Every record but the customer on real keyed files: the shared suite with each record's key,
// stamp and merge, and the item's change test, REMARK merge and modify, the sale order line's
// reads that keep engine failures to themselves, and the summary's 64-bit columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/dao/ItemDAOImpl.h"
#include "qmxdao/dao/ItemQtyDAOImpl.h"
#include "qmxdao/dao/ItemTypeDAOImpl.h"
#include "qmxdao/dao/MerchantDAOImpl.h"
#include "qmxdao/dao/PurchaseDAOImpl.h"
#include "qmxdao/dao/SaleOrderDAOImpl.h"
#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "qmxdao/dao/UserDAOImpl.h"
#include "testing/expect_engine_error.h"
#include "testing/record_dao_tests.h"

namespace qmxdao::test {
namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::DBNAME_SALE;
using QMXDAO::Utility;
using QMXDataDomain::___ITEM;
constexpr auto kCreateTimeWhenEmpty = NewRecordStamp::kCreateTimeWhenEmpty;
constexpr auto kBothTimes = NewRecordStamp::kBothTimes;

struct UserTraits : Traits<QMXDAO::UserDAOImpl, QMXDataDomain::___USER> {
  static inline const auto kShape = shape<Record>(
      L"USER", DBNAME_MAIN, kBothTimes, true, &Record::USERNAME, &Record::ORG, &Record::FULLNAME,
      QMX_COL(SIGNNO), QMX_COL(MOBILE), QMX_COL(MENU), QMX_COL(STATUS), QMX_COL(USERNAME),
      QMX_COL(TOWNNAME), QMX_COL(QQNUMBER), QMX_COL(USRNAME), QMX_COL(TOWNID), QMX_COL(TELNUMBER),
      QMX_COL(PROVINCEID), QMX_COL(CREAT_TIME_EX), QMX_COL(COURIERCODE), QMX_COL(EMAIL),
      QMX_COL(CITYID), QMX_COL(CERTNO), QMX_COL(POSTMANCODE), QMX_COL(PROVINCENAME),
      QMX_COL(STATIONNAME), QMX_COL(POSTALCODE), QMX_COL(WEBSITECODE), QMX_COL(CITYNAME),
      QMX_COL(USERONLYID), QMX_COL(STATIONADDR), QMX_COL(STROEID), QMX_COL(VERIFY_TIME),
      QMX_COL(AREAID), QMX_COL(MENUIDS), QMX_COL(USRACCOUNT), QMX_COL(TELEXT), QMX_COL(IMAGURL),
      QMX_COL(ISSHOPASSISTANT), QMX_COL(PASSWORD), QMX_COL(COURIRENAME), QMX_COL(FULLNAME),
      QMX_COL(ORG), QMX_COL(AREANAME), QMX_COL(REMARK), QMX_COL(STATIONTYPE),
      QMX_COL(STATION_TYPE));
};

struct ItemQtyTraits : Traits<QMXDAO::ItemQtyDAOImpl, QMXDataDomain::___ITEM_QTY> {
  static inline const auto kShape =
      shape<Record>(L"ITEM_QTY", DBNAME_MAIN, kBothTimes, true, &Record::EXT1, &Record::EXT2,
                    &Record::PUR_RAND_ID, QMX_COL(SUBMIT), QMX_COL(STORAGE_ID), QMX_COL(PUR_RETURN),
                    QMX_COL(PUR_RAND_ID), QMX_COL(QTY), QMX_COL(SALE_RETURN), QMX_COL(SALE_DAY_AVE),
                    QMX_COL(ITEM_ID), QMX_COL(PUR_NUM), QMX_COL(SALE_NUM));
};

struct MerchantTraits : Traits<QMXDAO::MerchantDAOImpl, QMXDataDomain::___MERCHANT_INFO> {
  static inline const auto kShape = shape<Record>(
      L"MERCHANT_INFO", DBNAME_MAIN, kCreateTimeWhenEmpty, true, &Record::GUID, nullptr,
      &Record::NAME, QMX_COL(CONTACTS), QMX_COL(QQ), QMX_COL(TEL), QMX_COL(MOBILE), QMX_COL(ADDR),
      QMX_COL(GUID), QMX_COL(NAME), QMX_COL(ORG), QMX_COL(SUBMIT));
};

struct ItemTypeTraits : Traits<QMXDAO::ItemTypeDAOImpl, QMXDataDomain::___ITEM_TYPE> {
  static inline const auto kShape = shape<Record>(
      L"ITEM_TYPE", DBNAME_MAIN, kBothTimes, false, &Record::SEQ_ID, &Record::ORG,
      &Record::TYPE_NAME, QMX_COL(ORG), QMX_COL(TYPE_NAME), QMX_COL(SEQ_ID), QMX_COL(SUBMIT));
};

struct PurchaseTraits : Traits<QMXDAO::PurchaseDAOImpl, QMXDataDomain::___PURCHASE_INFO> {
  static inline const auto kShape = shape<Record>(
      L"PURCHASE_INFO", DBNAME_MAIN, kCreateTimeWhenEmpty, false, &Record::RAND_ID,
      &Record::CREATE_USER, &Record::REMARK, QMX_COL(READONLY), QMX_COL(MERCHANT_NAME),
      QMX_COL(PACHAGETYPE), QMX_COL(UPC), QMX_COL(RAND_ID), QMX_COL(POS), QMX_COL(PURCHASE_TIME),
      QMX_COL(REMARK), QMX_COL(CREATE_USER), QMX_COL(MERCHANT_ID), QMX_COL(ITEM_ID),
      QMX_COL(SUBMIT), QMX_COL(PURCHASE_NUM), QMX_COL(PUR_PRICE), QMX_COL(PAID_PRICE),
      QMX_COL(DEBT_PRICE), QMX_COL(TOTAL_PRICE));
};

struct SaleOrderTraits : Traits<QMXDAO::SaleOrderDAOImpl, QMXDataDomain::___SALE_ORDER> {
  static inline const auto kShape = shape<Record>(
      L"SALE_ORDER", DBNAME_SALE, NewRecordStamp::kNone, false, &Record::RAND_ID, &Record::UPC,
      &Record::REMARK, QMX_COL(UPC), QMX_COL(RAND_ID), QMX_COL(ITEM_SEQ_ID), QMX_COL(SALE_USER),
      QMX_COL(ORG), QMX_COL(SALE_TYPE), QMX_COL(RETURN_RAND_ID), QMX_COL(POS), QMX_COL(CUSTOMER),
      QMX_COL(UNIT_ID), QMX_COL(REMARK), QMX_COL(SALE_TIME), QMX_COL(CREATE_USER),
      QMX_COL(INTEGRAL_NUM), QMX_COL(POST_INTEGRAL), QMX_COL(UPC_ADD_TYPE), QMX_COL(RETURN_FLAG),
      QMX_COL(ORDER_TYPE), QMX_COL(ITEM_ID), QMX_COL(PACKAGE_TYPE), QMX_COL(QTY_ID),
      QMX_COL(SUBMIT), QMX_COL(ERRCOUNT), QMX_COL(RETURN_TYPE), QMX_COL(PAID_PRICE),
      QMX_COL(DISCOUNT_RATE), QMX_COL(RELIEF_PRICE), QMX_COL(PUR_PRICE), QMX_COL(DISCOUNT_PRICE),
      QMX_COL(SALE_PROFIT), QMX_COL(SALE_NUM), QMX_COL(SALE_PRICE), QMX_COL(DEBT_PRICE),
      QMX_COL(TOTAL_PRICE), QMX_COL(RETURN_SALE_NUM));
};

struct SaleOrderSummaryTraits
    : Traits<QMXDAO::SaleOrderSummaryDAOImpl, QMXDataDomain::___SALE_ORDER_SUMMARY> {
  static inline const auto kShape = shape<Record>(
      L"SALE_ORDER_SUMMARY", DBNAME_SALE, kBothTimes, false, &Record::RAND_ID, nullptr,
      &Record::REMARK, QMX_COL(ORG), QMX_COL(RAND_ID), QMX_COL(CUSTOMER_ID), QMX_COL(CREATE_USER),
      QMX_COL(FALSE_TRADE), QMX_COL(REMARK), QMX_COL(ORIGINAL_RAND_ID), QMX_COL(ORDER_TYPE),
      QMX_COL(UPDATE_USER), QMX_COL(SALE_TIME), QMX_COL(REMOTE_ADDRESS), QMX_COL(STATUS),
      QMX_COL(INTEGRAL), QMX_COL(ORDER_SUMMARY_TYPE), QMX_COL(ERRCOUNT), QMX_COL(SUBMIT),
      QMX_COL(POST_INTEGRAL), QMX_COL(SALE_SORT_NUM), QMX_COL(RETURN_INTEGRAL),
      QMX_COL(RETURN_POST_INTEGRAL), QMX_COL(SALE_TYPE), QMX_COL(SUBMIT_DETAIL),
      QMX_COL(SALE_SUM_NUM), QMX_COL(TOTAL_PRICE), QMX_COL(RELIEF_PRICE), QMX_COL(PAID_PRICE),
      QMX_COL(DEBT_PRICE), QMX_COL(RETURN_TOTAL_PRICE), QMX_COL(RETURN_DEBT_PRICE),
      QMX_COL(RETURN_RELIEF_PRICE));
};

struct ItemTraits : Traits<QMXDAO::ItemDAOImpl, QMXDataDomain::___ITEM> {
  static inline const auto kShape = shape<Record>(
      L"ITEM", DBNAME_MAIN, kCreateTimeWhenEmpty, true, &Record::UPC, &Record::ORG,
      &Record::ITEM_NAME, QMX_COL(ITEM_NAME), QMX_COL(STANDART), QMX_COL(STORE_CODE), QMX_COL(UPC),
      QMX_COL(UNIT_ID), QMX_COL(PACKAGETYPE), QMX_COL(CREATUSER), QMX_COL(READONlY),
      QMX_COL(TYPEID), QMX_COL(ORG), QMX_COL(PUR_PRICE), QMX_COL(SALE_PRICE), QMX_COL(MEM_PRICE),
      QMX_COL(DISCOUNT_RATE), QMX_COL(MERCHANT_ID), QMX_COL(REMARK), QMX_COL(SUBMIT),
      QMX_COL(ITEM_TYPE_ID), QMX_COL(ERRCOUNT));
};

___ITEM item(const std::wstring& upc, float salePrice) {
  ___ITEM i = keyed<ItemTraits>(upc, L"shop");
  i.SALE_PRICE = salePrice;
  i.REMARK = L"stored remark";
  i.CREATE_TIME = L"2015-01-01 08:00:00";
  return i;
}

TEST(ItemSave, WritesEditedChangesToTheLastRowReadKeepsTheRemarkAndModifyOnlyInserts) {
  TempShop shop(TempShop::Layout::kInstalled);
  QMXDAO::ItemDAOImpl dao;
  ASSERT_TRUE(
      dao.add(std::vector<___ITEM>{item(L"690", 1.0f), item(L"690", 2.0f), item(L"690", 3.5f)}));
  // Equal to the last row read but for the ID, times or counters: dropped, counted in no line.
  std::vector<___ITEM> unchanged(5, dao.findById(3));
  unchanged[0].ID = 0;
  unchanged[1].CREATE_TIME = L"2020-01-01 00:00:00";
  unchanged[2].UPDATE_TIME = L"";
  unchanged[3].DEL_FLAG = 1;
  unchanged[4].ERRCOUNT = 9;
  unchanged.push_back(item(L"691", 1.0f));
  DebugCapture capture;
  ASSERT_TRUE(dao.save(unchanged));
  ___ITEM incoming = item(L"690", 4.5f);
  incoming.REMARK = L"";
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_EQ(dao.findById(3).REMARK, L"stored remark");
  incoming.REMARK = L"new remark";
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_EQ(dao.findById(3).REMARK, L"new remark");

  // modify inserts new keys alone, stamped with both times; with none, it writes no line.
  const std::wstring before = Utility::GetNowTime();
  ASSERT_TRUE(dao.modify(std::vector<___ITEM>{item(L"690", 9.0f), item(L"700", 1.0f)}));
  ASSERT_TRUE(dao.modify(std::vector<___ITEM>{item(L"700", 2.0f)}));
  const ___ITEM inserted = dao.findById(5);
  EXPECT_TRUE(stampedBetween(inserted.CREATE_TIME, before, Utility::GetNowTime()));
  EXPECT_EQ(inserted.UPDATE_TIME, inserted.CREATE_TIME);
  const std::wstring head = L"ItemDAOImpl::save::";
  EXPECT_EQ(untimed(capture), (Lines{head + L"Add 1条Item \n", head + L"Updates 1条Item \n",
                                     head + L"Updates 1条Item \n", head + L"Add 1条Item \n"}));
  Lines rows;
  for (const ___ITEM& i : dao.findBySQL(L"select * from ITEM order by ID"))
    rows.push_back(std::to_wstring(i.ID) + L" " + i.UPC + L" " + std::to_wstring(i.SALE_PRICE));
  EXPECT_EQ(rows, (Lines{L"1 690 1.000000", L"2 690 2.000000", L"3 690 4.500000", L"4 691 1.000000",
                         L"5 700 1.000000"}));
}

// Keys that differ only in a lone surrogate are distinct rows, saved one call each and found again.
// A key holding a value that is no UTF-16 code unit (only where wchar_t has 32 bits) ends the call
// with the exception, and nothing of it is stored: also the customer's, whose save otherwise skips
// a record whose lookup fails.
TEST(BatchSave, KeysDifferingInALoneSurrogateStayDistinctNonUnitsAreRefused) {
  TempShop shop(TempShop::Layout::kInstalled);
  QMXDAO::ItemDAOImpl items;
  std::vector<___ITEM> batch;
  for (const int surrogate : {0xD800, 0xDBFF, 0xDFFF}) {
    batch.push_back(item(L"690" + std::wstring(1, static_cast<wchar_t>(surrogate)), 1.0f));
  }
  for (const ___ITEM& one : batch) ASSERT_TRUE(items.save(one));  // each call finds the others
  ASSERT_TRUE(items.save(batch));
  EXPECT_EQ(items.count(), 3);
  if (sizeof(wchar_t) == 4) {
    for (const wchar_t beyond : {static_cast<wchar_t>(0x110000), static_cast<wchar_t>(0x7FFFFFFF),
                                 static_cast<wchar_t>(-1)}) {
      const std::wstring key = L"690" + std::wstring(1, beyond);
      expectEngineError(
          [&] {
            items.save(std::vector<___ITEM>{item(L"691", 1.0f), item(key, 1.0f)});
          },
          20, L"no UTF-16 code unit");
      QMXDataDomain::___CUSTOMER customer;
      customer.ORG = key;
      expectEngineError([&] { QMXDAO::CustomerDAOImpl().save(customer); }, 20,
                        L"no UTF-16 code unit");
    }
  }
  EXPECT_EQ(items.count(), 3);
  EXPECT_EQ(QMXDAO::CustomerDAOImpl().count(), 0);
}

TEST(SaleOrderDAO, ReadsKeepEngineFailuresAndFindByIdEndsALinePerRow) {
  TempShop shop(TempShop::Layout::kInstalled);
  QMXDAO::SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(keyed<SaleOrderTraits>(L"R1", L"U1", 0, L"x")));
  testing::internal::CaptureStdout();
  EXPECT_EQ(dao.findById(1).REMARK, L"x");
  EXPECT_EQ(dao.findById(2).ID, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n");
  Utility::execDML(L"drop table SALE_ORDER", DBNAME_SALE);
  EXPECT_EQ(dao.count(), 0);
  EXPECT_EQ(dao.findById(1).ID, 0);
  EXPECT_TRUE(dao.findBySQL(L"select * from SALE_ORDER").empty());
  EXPECT_FALSE(dao.delet(std::vector<long long>{1, 2}));
  expectEngineError([&] { dao.save(keyed<SaleOrderTraits>(L"R1", L"U1")); }, 1, L"no such table");
}

TEST(SaleOrderSummaryRecord, IntegralColumnsBeyond32BitsReadAsTheirLow32Bits) {
  using M = QMXDataDomain::___SALE_ORDER_SUMMARY;
  TempShop shop(TempShop::Layout::kInstalled);
  QMXDAO::SaleOrderSummaryDAOImpl dao;
  ASSERT_TRUE(dao.add(M()));
  Utility::execDML(
      L"update SALE_ORDER_SUMMARY set RETURN_INTEGRAL = 4294967301, POST_INTEGRAL = -4294967297",
      DBNAME_SALE);
  const M back = dao.findById(1);
  EXPECT_EQ(std::to_string(back.RETURN_INTEGRAL) + " " + std::to_string(back.POST_INTEGRAL),
            "5 -1");
  // By name: the 64-bit setter takes the 64-bit columns, the int setter does not.
  M set;
  set.setInt64Field(L"RETURN_INTEGRAL", 4294967301LL);
  set.setIntField(L"POST_INTEGRAL", 3);
  EXPECT_EQ(set.RETURN_INTEGRAL, 5);
  EXPECT_EQ(set.POST_INTEGRAL, 0);
}

}  // namespace

INSTANTIATE_TYPED_TEST_SUITE_P(User, RecordDao, UserTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(ItemQty, RecordDao, ItemQtyTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(Merchant, RecordDao, MerchantTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(ItemType, RecordDao, ItemTypeTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(Purchase, RecordDao, PurchaseTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(SaleOrder, RecordDao, SaleOrderTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(SaleOrderSummary, RecordDao, SaleOrderSummaryTraits);
INSTANTIATE_TYPED_TEST_SUITE_P(Item, RecordDao, ItemTraits);

}  // namespace qmxdao::test
