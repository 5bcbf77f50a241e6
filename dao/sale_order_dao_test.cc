// The sale order line's data access on a real keyed sales file: the behaviours every record
// shares, with the line's key (RAND_ID and UPC), no stamping and a merge that takes the ID, and
// its own update that really writes, reads that keep engine failures to themselves, and the line
// findById ends on standard output per row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmxdao/dao/SaleOrderDAOImpl.h"
#include "testing/expect_engine_error.h"
#include "testing/record_dao_tests.h"

namespace {

using QMXDAO::DBNAME_SALE;
using QMXDAO::SaleOrderDAOImpl;
using qmxdao::test::TempShop;
using S = QMXDataDomain::___SALE_ORDER;

struct SaleOrderTraits : qmxdao::test::RecordTraits {
  using Dao = SaleOrderDAOImpl;
  using Record = S;
  static constexpr const wchar_t* kTable = L"SALE_ORDER";
  static constexpr auto kFile = DBNAME_SALE;
  static constexpr const wchar_t* kLines = L"SALEORDERDAOImpl::modify::";
  static constexpr auto kStamp = qmxdao::NewRecordStamp::kNone;
  static constexpr bool kMergeKeepsId = false;
  static constexpr std::wstring Record::*kKey[2] = {&Record::RAND_ID, &Record::UPC};
  static constexpr std::wstring Record::*kValue = &Record::REMARK;
  static auto columns() {
    return qmxdao::test::ColumnCheck<Record>(
        QMX_COLUMN(UPC), QMX_COLUMN(RAND_ID), QMX_COLUMN(ITEM_SEQ_ID), QMX_COLUMN(SALE_USER),
        QMX_COLUMN(ORG), QMX_COLUMN(SALE_TYPE), QMX_COLUMN(RETURN_RAND_ID), QMX_COLUMN(POS),
        QMX_COLUMN(CUSTOMER), QMX_COLUMN(UNIT_ID), QMX_COLUMN(REMARK), QMX_COLUMN(SALE_TIME),
        QMX_COLUMN(CREATE_USER), QMX_COLUMN(INTEGRAL_NUM), QMX_COLUMN(POST_INTEGRAL),
        QMX_COLUMN(UPC_ADD_TYPE), QMX_COLUMN(RETURN_FLAG), QMX_COLUMN(ORDER_TYPE),
        QMX_COLUMN(ITEM_ID), QMX_COLUMN(PACKAGE_TYPE), QMX_COLUMN(QTY_ID), QMX_COLUMN(SUBMIT),
        QMX_COLUMN(ERRCOUNT), QMX_COLUMN(RETURN_TYPE), QMX_COLUMN(PAID_PRICE),
        QMX_COLUMN(DISCOUNT_RATE), QMX_COLUMN(RELIEF_PRICE), QMX_COLUMN(PUR_PRICE),
        QMX_COLUMN(DISCOUNT_PRICE), QMX_COLUMN(SALE_PROFIT), QMX_COLUMN(SALE_NUM),
        QMX_COLUMN(SALE_PRICE), QMX_COLUMN(DEBT_PRICE), QMX_COLUMN(TOTAL_PRICE),
        QMX_COLUMN(RETURN_SALE_NUM));
  }
};

S line(const std::wstring& randId, const std::wstring& remark) {
  S s;
  s.RAND_ID = randId;
  s.UPC = L"U1";
  s.REMARK = remark;
  return s;
}

TEST(SaleOrderDAO, UpdateWritesTheSalesFile) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(std::vector<S>{line(L"R1", L"a"), line(L"R2", L"b")}));
  S changed = dao.findById(2);
  changed.REMARK = L"b changed";
  ASSERT_TRUE(dao.update(changed));
  EXPECT_EQ(dao.findBySQL(L"select * from SALE_ORDER where ID = 2").at(0).REMARK, L"b changed");
  EXPECT_EQ(dao.findById(1).REMARK, L"a");
}

TEST(SaleOrderDAO, ReadsAndDeletesKeepEngineFailuresButTheSaveThrows) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(line(L"R1", L"x")));
  QMXDAO::Utility::execDML(L"drop table SALE_ORDER", DBNAME_SALE);

  EXPECT_EQ(dao.count(), 0);
  EXPECT_EQ(dao.findById(1).ID, 0);
  EXPECT_EQ(dao.findById(1).REMARK, L"");
  EXPECT_TRUE(dao.findBySQL(L"select * from SALE_ORDER").empty());
  EXPECT_FALSE(dao.delet(1));
  EXPECT_FALSE(dao.delet(std::vector<long long>{1, 2}));
  qmxdao::test::expectEngineError([&] { dao.save(line(L"R1", L"y")); }, 1, L"no such table");
}

TEST(SaleOrderFindById, EndsOneLineOnStandardOutputPerRowFound) {
  TempShop shop(TempShop::Layout::kInstalled);
  SaleOrderDAOImpl dao;
  ASSERT_TRUE(dao.add(line(L"R1", L"x")));

  testing::internal::CaptureStdout();
  const S found = dao.findById(1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n");
  EXPECT_EQ(found.REMARK, L"x");

  testing::internal::CaptureStdout();
  const S missing = dao.findById(2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(missing.ID, 0);
}

}  // namespace

namespace qmxdao::test {
INSTANTIATE_TYPED_TEST_SUITE_P(SaleOrder, RecordDao, SaleOrderTraits);
}  // namespace qmxdao::test
