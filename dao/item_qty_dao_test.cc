// The stock quantity's data access on a real keyed main file: the behaviours every record shares,
// with the stock quantity's key (EXT1 and EXT2), both times stamped, a merge that keeps the stored
// ID and new IDs the largest stored ID plus 1.
#include <gtest/gtest.h>

#include <string>

#include "qmxdao/dao/ItemQtyDAOImpl.h"
#include "testing/record_dao_tests.h"

namespace {

struct ItemQtyTraits : qmxdao::test::RecordTraits {
  using Dao = QMXDAO::ItemQtyDAOImpl;
  using Record = QMXDataDomain::___ITEM_QTY;
  static constexpr const wchar_t* kTable = L"ITEM_QTY";
  static constexpr const wchar_t* kLines = L"ItemQtyDAOImpl::modify::";
  static constexpr auto kStamp = qmxdao::NewRecordStamp::kBothTimes;
  static constexpr bool kMergeKeepsId = true;
  static constexpr std::wstring Record::*kKey[2] = {&Record::EXT1, &Record::EXT2};
  static constexpr std::wstring Record::*kValue = &Record::PUR_RAND_ID;
  static auto columns() {
    return qmxdao::test::ColumnCheck<Record>(
        QMX_COLUMN(SUBMIT), QMX_COLUMN(STORAGE_ID), QMX_COLUMN(PUR_RETURN), QMX_COLUMN(PUR_RAND_ID),
        QMX_COLUMN(QTY), QMX_COLUMN(SALE_RETURN), QMX_COLUMN(SALE_DAY_AVE), QMX_COLUMN(ITEM_ID),
        QMX_COLUMN(PUR_NUM), QMX_COLUMN(SALE_NUM));
  }
};

}  // namespace

namespace qmxdao::test {
INSTANTIATE_TYPED_TEST_SUITE_P(ItemQty, RecordDao, ItemQtyTraits);
}  // namespace qmxdao::test
