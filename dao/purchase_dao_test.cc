// The purchase's data access on a real keyed main file: the behaviours every record shares, with
// the purchase's key (RAND_ID and CREATE_USER), CREATE_TIME stamped when empty, new IDs the
// largest stored ID plus 1, and its own findById beyond the 32-bit range.
#include <gtest/gtest.h>

#include <string>

#include "qmxdao/dao/PurchaseDAOImpl.h"
#include "testing/record_dao_tests.h"

namespace {

using QMXDAO::PurchaseDAOImpl;

struct PurchaseTraits : qmxdao::test::RecordTraits {
  using Dao = PurchaseDAOImpl;
  using Record = QMXDataDomain::___PURCHASE_INFO;
  static constexpr const wchar_t* kTable = L"PURCHASE_INFO";
  static constexpr const wchar_t* kLines = L"PurchaseDAOImpl::save::";
  static constexpr auto kStamp = qmxdao::NewRecordStamp::kCreateTimeWhenEmpty;
  static constexpr bool kMergeKeepsId = false;
  static constexpr std::wstring Record::*kKey[2] = {&Record::RAND_ID, &Record::CREATE_USER};
  static constexpr std::wstring Record::*kValue = &Record::REMARK;
  static auto columns() {
    return qmxdao::test::ColumnCheck<Record>(
        QMX_COLUMN(READONLY), QMX_COLUMN(MERCHANT_NAME), QMX_COLUMN(PACHAGETYPE), QMX_COLUMN(UPC),
        QMX_COLUMN(RAND_ID), QMX_COLUMN(POS), QMX_COLUMN(PURCHASE_TIME), QMX_COLUMN(REMARK),
        QMX_COLUMN(CREATE_USER), QMX_COLUMN(MERCHANT_ID), QMX_COLUMN(ITEM_ID), QMX_COLUMN(SUBMIT),
        QMX_COLUMN(PURCHASE_NUM), QMX_COLUMN(PUR_PRICE), QMX_COLUMN(PAID_PRICE),
        QMX_COLUMN(DEBT_PRICE), QMX_COLUMN(TOTAL_PRICE));
  }
};

TEST(PurchaseFindById, FindsAnIdBeyondThe32BitRange) {
  qmxdao::test::TempShop shop(qmxdao::test::TempShop::Layout::kInstalled);
  // 705032704 is the low 32 bits of 5000000000: a truncated ID would find the wrong row.
  QMXDAO::Utility::execDML(
      L"insert into PURCHASE_INFO (ID, REMARK) values (5000000000, 'far'), "
      L"(705032704, 'near')",
      QMXDAO::DBNAME_MAIN);
  PurchaseDAOImpl dao;
  const auto far = dao.findById(5000000000LL);
  EXPECT_EQ(far.ID, 5000000000LL);
  EXPECT_EQ(far.REMARK, L"far");
  EXPECT_EQ(dao.findById(6000000000LL).ID, 0);
}

}  // namespace

namespace qmxdao::test {
INSTANTIATE_TYPED_TEST_SUITE_P(Purchase, RecordDao, PurchaseTraits);
}  // namespace qmxdao::test
