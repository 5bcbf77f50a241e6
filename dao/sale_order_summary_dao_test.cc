// The sale order summary's data access on a real keyed sales file: the behaviours every record
// shares, with the summary's one-column key (RAND_ID), both times stamped and a merge that takes
// the ID, and its two 64-bit columns held in int fields.
#include <gtest/gtest.h>

#include <string>

#include "qmxdao/dao/SaleOrderSummaryDAOImpl.h"
#include "testing/record_dao_tests.h"

namespace {

using QMXDAO::DBNAME_SALE;
using QMXDAO::Utility;
using M = QMXDataDomain::___SALE_ORDER_SUMMARY;

struct SaleOrderSummaryTraits : qmxdao::test::RecordTraits {
  using Dao = QMXDAO::SaleOrderSummaryDAOImpl;
  using Record = M;
  static constexpr const wchar_t* kTable = L"SALE_ORDER_SUMMARY";
  static constexpr auto kFile = DBNAME_SALE;
  static constexpr const wchar_t* kLines = L"SaleOrderSummaryDAOImpl::save::";
  static constexpr auto kStamp = qmxdao::NewRecordStamp::kBothTimes;
  static constexpr bool kMergeKeepsId = false;
  static constexpr std::wstring Record::*kKey[2] = {&Record::RAND_ID, nullptr};
  static constexpr std::wstring Record::*kValue = &Record::REMARK;
  static auto columns() {
    return qmxdao::test::ColumnCheck<Record>(
        QMX_COLUMN(ORG), QMX_COLUMN(RAND_ID), QMX_COLUMN(CUSTOMER_ID), QMX_COLUMN(CREATE_USER),
        QMX_COLUMN(FALSE_TRADE), QMX_COLUMN(REMARK), QMX_COLUMN(ORIGINAL_RAND_ID),
        QMX_COLUMN(ORDER_TYPE), QMX_COLUMN(UPDATE_USER), QMX_COLUMN(SALE_TIME),
        QMX_COLUMN(REMOTE_ADDRESS), QMX_COLUMN(STATUS), QMX_COLUMN(INTEGRAL),
        QMX_COLUMN(ORDER_SUMMARY_TYPE), QMX_COLUMN(ERRCOUNT), QMX_COLUMN(SUBMIT),
        QMX_COLUMN(POST_INTEGRAL), QMX_COLUMN(SALE_SORT_NUM), QMX_COLUMN(RETURN_INTEGRAL),
        QMX_COLUMN(RETURN_POST_INTEGRAL), QMX_COLUMN(SALE_TYPE), QMX_COLUMN(SUBMIT_DETAIL),
        QMX_COLUMN(SALE_SUM_NUM), QMX_COLUMN(TOTAL_PRICE), QMX_COLUMN(RELIEF_PRICE),
        QMX_COLUMN(PAID_PRICE), QMX_COLUMN(DEBT_PRICE), QMX_COLUMN(RETURN_TOTAL_PRICE),
        QMX_COLUMN(RETURN_DEBT_PRICE), QMX_COLUMN(RETURN_RELIEF_PRICE));
  }
};

TEST(SaleOrderSummaryRecord, IntegralColumnsBeyond32BitsReadAsTheirLow32Bits) {
  qmxdao::test::TempShop shop(qmxdao::test::TempShop::Layout::kInstalled);
  QMXDAO::SaleOrderSummaryDAOImpl dao;
  ASSERT_TRUE(dao.add(M()));
  // Values beyond 32 bits read back as their low 32 bits, through every read.
  Utility::execDML(
      L"update SALE_ORDER_SUMMARY set RETURN_INTEGRAL = 4294967301, "
      L"POST_INTEGRAL = -4294967297",
      DBNAME_SALE);
  const M back = dao.findById(1);
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

}  // namespace

namespace qmxdao::test {
INSTANTIATE_TYPED_TEST_SUITE_P(SaleOrderSummary, RecordDao, SaleOrderSummaryTraits);
}  // namespace qmxdao::test
