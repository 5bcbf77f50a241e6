// The merchant's data access on a real keyed main file: the behaviours every record shares, with
// the merchant's one-column key (GUID), CREATE_TIME stamped when empty and a merge that keeps the
// stored ID.
#include <gtest/gtest.h>

#include <string>

#include "qmxdao/dao/MerchantDAOImpl.h"
#include "testing/record_dao_tests.h"

namespace {

struct MerchantTraits : qmxdao::test::RecordTraits {
  using Dao = QMXDAO::MerchantDAOImpl;
  using Record = QMXDataDomain::___MERCHANT_INFO;
  static constexpr const wchar_t* kTable = L"MERCHANT_INFO";
  static constexpr const wchar_t* kLines = L"MerchantDAOImpl::modify::";
  static constexpr auto kStamp = qmxdao::NewRecordStamp::kCreateTimeWhenEmpty;
  static constexpr bool kMergeKeepsId = true;
  static constexpr std::wstring Record::*kKey[2] = {&Record::GUID, nullptr};
  static constexpr std::wstring Record::*kValue = &Record::NAME;
  static auto columns() {
    return qmxdao::test::ColumnCheck<Record>(QMX_COLUMN(CONTACTS), QMX_COLUMN(QQ), QMX_COLUMN(TEL),
                                             QMX_COLUMN(MOBILE), QMX_COLUMN(ADDR), QMX_COLUMN(GUID),
                                             QMX_COLUMN(NAME), QMX_COLUMN(ORG), QMX_COLUMN(SUBMIT));
  }
};

}  // namespace

namespace qmxdao::test {
INSTANTIATE_TYPED_TEST_SUITE_P(Merchant, RecordDao, MerchantTraits);
}  // namespace qmxdao::test
