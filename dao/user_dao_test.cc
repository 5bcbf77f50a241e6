// The user's data access on a real keyed main file: the behaviours every record shares, with the
// user's key (USERNAME and ORG), both times stamped and a merge that keeps the stored ID.
#include <gtest/gtest.h>

#include <string>

#include "qmxdao/dao/UserDAOImpl.h"
#include "testing/record_dao_tests.h"

namespace {

struct UserTraits : qmxdao::test::RecordTraits {
  using Dao = QMXDAO::UserDAOImpl;
  using Record = QMXDataDomain::___USER;
  static constexpr const wchar_t* kTable = L"USER";
  static constexpr const wchar_t* kLines = L"UserDAOImpl::modify::";
  static constexpr auto kStamp = qmxdao::NewRecordStamp::kBothTimes;
  static constexpr bool kMergeKeepsId = true;
  static constexpr std::wstring Record::*kKey[2] = {&Record::USERNAME, &Record::ORG};
  static constexpr std::wstring Record::*kValue = &Record::FULLNAME;
  static auto columns() {
    return qmxdao::test::ColumnCheck<Record>(
        QMX_COLUMN(SIGNNO), QMX_COLUMN(MOBILE), QMX_COLUMN(MENU), QMX_COLUMN(STATUS),
        QMX_COLUMN(USERNAME), QMX_COLUMN(TOWNNAME), QMX_COLUMN(QQNUMBER), QMX_COLUMN(USRNAME),
        QMX_COLUMN(TOWNID), QMX_COLUMN(TELNUMBER), QMX_COLUMN(PROVINCEID),
        QMX_COLUMN(CREAT_TIME_EX), QMX_COLUMN(COURIERCODE), QMX_COLUMN(EMAIL), QMX_COLUMN(CITYID),
        QMX_COLUMN(CERTNO), QMX_COLUMN(POSTMANCODE), QMX_COLUMN(PROVINCENAME),
        QMX_COLUMN(STATIONNAME), QMX_COLUMN(POSTALCODE), QMX_COLUMN(WEBSITECODE),
        QMX_COLUMN(CITYNAME), QMX_COLUMN(USERONLYID), QMX_COLUMN(STATIONADDR), QMX_COLUMN(STROEID),
        QMX_COLUMN(VERIFY_TIME), QMX_COLUMN(AREAID), QMX_COLUMN(MENUIDS), QMX_COLUMN(USRACCOUNT),
        QMX_COLUMN(TELEXT), QMX_COLUMN(IMAGURL), QMX_COLUMN(ISSHOPASSISTANT), QMX_COLUMN(PASSWORD),
        QMX_COLUMN(COURIRENAME), QMX_COLUMN(FULLNAME), QMX_COLUMN(ORG), QMX_COLUMN(AREANAME),
        QMX_COLUMN(REMARK), QMX_COLUMN(STATIONTYPE), QMX_COLUMN(STATION_TYPE));
  }
};

}  // namespace

namespace qmxdao::test {
INSTANTIATE_TYPED_TEST_SUITE_P(User, RecordDao, UserTraits);
}  // namespace qmxdao::test
