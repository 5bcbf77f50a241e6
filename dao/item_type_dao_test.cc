// The item type's data access on a real keyed main file: the behaviours every record shares, with
// the item type's key (SEQ_ID and ORG), both times stamped and a merge that takes the ID.
#include <gtest/gtest.h>

#include <string>

#include "qmxdao/dao/ItemTypeDAOImpl.h"
#include "testing/record_dao_tests.h"

namespace {

struct ItemTypeTraits : qmxdao::test::RecordTraits {
  using Dao = QMXDAO::ItemTypeDAOImpl;
  using Record = QMXDataDomain::___ITEM_TYPE;
  static constexpr const wchar_t* kTable = L"ITEM_TYPE";
  static constexpr const wchar_t* kLines = L"ItemTypeDAOImpl::modify::";
  static constexpr auto kStamp = qmxdao::NewRecordStamp::kBothTimes;
  static constexpr bool kMergeKeepsId = false;
  static constexpr std::wstring Record::*kKey[2] = {&Record::SEQ_ID, &Record::ORG};
  static constexpr std::wstring Record::*kValue = &Record::TYPE_NAME;
  static auto columns() {
    return qmxdao::test::ColumnCheck<Record>(QMX_COLUMN(ORG), QMX_COLUMN(TYPE_NAME),
                                             QMX_COLUMN(SEQ_ID), QMX_COLUMN(SUBMIT));
  }
};

}  // namespace

namespace qmxdao::test {
INSTANTIATE_TYPED_TEST_SUITE_P(ItemType, RecordDao, ItemTypeTraits);
}  // namespace qmxdao::test
