// The user's data access on a real keyed main file: its columns, the merge that keeps the stored
// ID, the update of a matched USERNAME and ORG under the stored ID, and new users under the
// table's ID with both times stamped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "qmxdao/dao/UserDAOImpl.h"
#include "qmxdao/storage/Utility.h"
#include "testing/column_check.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::DBNAME_MAIN;
using QMXDAO::UserDAOImpl;
using QMXDAO::Utility;
using qmxdao::test::ColumnCheck;
using qmxdao::test::DebugCapture;
using qmxdao::test::expectStampedBetween;
using qmxdao::test::TempShop;
using U = QMXDataDomain::___USER;

U user(const std::wstring& name, const std::wstring& org, const std::wstring& fullName,
       long long id = 0) {
  U u;
  u.ID = id;
  u.USERNAME = name;
  u.ORG = org;
  u.FULLNAME = fullName;
  return u;
}

std::wstring fullNameOf(long long id) {
  auto rows = Utility::SearchBySQL(L"select FULLNAME from USER where ID = " + std::to_wstring(id),
                                   DBNAME_MAIN);
  return rows.empty() ? L"<no row>" : rows[0][L"FULLNAME"];
}

TEST(UserRecord, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  const ColumnCheck<U> columns{
      {QMX_COLUMN(U, SIGNNO),      QMX_COLUMN(U, MOBILE),
       QMX_COLUMN(U, MENU),        QMX_COLUMN(U, STATUS),
       QMX_COLUMN(U, USERNAME),    QMX_COLUMN(U, TOWNNAME),
       QMX_COLUMN(U, QQNUMBER),    QMX_COLUMN(U, USRNAME),
       QMX_COLUMN(U, TOWNID),      QMX_COLUMN(U, TELNUMBER),
       QMX_COLUMN(U, PROVINCEID),  QMX_COLUMN(U, CREAT_TIME_EX),
       QMX_COLUMN(U, COURIERCODE), QMX_COLUMN(U, EMAIL),
       QMX_COLUMN(U, CITYID),      QMX_COLUMN(U, CERTNO),
       QMX_COLUMN(U, POSTMANCODE), QMX_COLUMN(U, PROVINCENAME),
       QMX_COLUMN(U, STATIONNAME), QMX_COLUMN(U, POSTALCODE),
       QMX_COLUMN(U, WEBSITECODE), QMX_COLUMN(U, CITYNAME),
       QMX_COLUMN(U, USERONLYID),  QMX_COLUMN(U, STATIONADDR),
       QMX_COLUMN(U, STROEID),     QMX_COLUMN(U, VERIFY_TIME),
       QMX_COLUMN(U, CREATE_TIME), QMX_COLUMN(U, AREAID),
       QMX_COLUMN(U, MENUIDS),     QMX_COLUMN(U, USRACCOUNT),
       QMX_COLUMN(U, TELEXT),      QMX_COLUMN(U, IMAGURL),
       QMX_COLUMN(U, UPDATE_TIME), QMX_COLUMN(U, ISSHOPASSISTANT),
       QMX_COLUMN(U, PASSWORD),    QMX_COLUMN(U, COURIRENAME),
       QMX_COLUMN(U, FULLNAME),    QMX_COLUMN(U, ORG),
       QMX_COLUMN(U, AREANAME),    QMX_COLUMN(U, REMARK),
       QMX_COLUMN(U, EXT1),        QMX_COLUMN(U, EXT2),
       QMX_COLUMN(U, EXT3),        QMX_COLUMN(U, EXT4),
       QMX_COLUMN(U, EXT5),        QMX_COLUMN(U, EXT6),
       QMX_COLUMN(U, EXT7),        QMX_COLUMN(U, EXT8),
       QMX_COLUMN(U, EXT9),        QMX_COLUMN(U, EXT10)},
      {QMX_COLUMN(U, STATIONTYPE), QMX_COLUMN(U, DEL_FLAG), QMX_COLUMN(U, STATION_TYPE)},
      {}};
  U u;
  columns.fill(u);
  UserDAOImpl dao;
  ASSERT_TRUE(dao.add(u));

  const auto rows = Utility::SearchBySQL(L"select * from USER", DBNAME_MAIN);
  ASSERT_EQ(rows.size(), 1u);
  columns.expectStored(rows[0], 1);
  const U back = dao.findById(1);
  EXPECT_EQ(back.ID, 1);
  columns.expectSame(back, u);

  // Assignment keeps the target's ID; copying takes it.
  U target = user(L"t", L"o", L"t", 7);
  target = back;
  EXPECT_EQ(target.ID, 7);
  EXPECT_EQ(target.FULLNAME, back.FULLNAME);
  EXPECT_EQ(U(back).ID, 1);
}

TEST(UserSave, MatchedUserUpdatesItsStoredRowWhateverTheIncomingId) {
  TempShop shop(TempShop::Layout::kInstalled);
  UserDAOImpl dao;
  ASSERT_TRUE(
      dao.save(std::vector<U>{user(L"alice", L"shopA", L"Alice"), user(L"bob", L"shopA", L"Bob")}));

  DebugCapture capture;
  U noId = user(L"alice", L"shopA", L"Alice 2", 0);
  noId.CREATE_TIME = L"2003-03-03 03:03:03";
  ASSERT_TRUE(dao.save(noId));
  EXPECT_EQ(fullNameOf(1), L"Alice 2");
  EXPECT_EQ(dao.findById(1).CREATE_TIME, L"2003-03-03 03:03:03");  // updates are not stamped
  EXPECT_EQ(dao.findById(1).UPDATE_TIME, L"");
  ASSERT_EQ(capture.lines().size(), 1u);
  EXPECT_EQ(capture.lines()[0].rfind(L"UserDAOImpl::modify::Updates 1条Item ", 0), 0u);

  ASSERT_TRUE(dao.save(user(L"alice", L"shopA", L"Alice 3", 2)));
  EXPECT_EQ(fullNameOf(1), L"Alice 3");
  EXPECT_EQ(fullNameOf(2), L"Bob");

  // The same USERNAME in another ORG is another user.
  ASSERT_TRUE(dao.save(user(L"alice", L"shopB", L"Alice B")));
  EXPECT_EQ(fullNameOf(3), L"Alice B");
  EXPECT_EQ(dao.count(), 3);
}

TEST(UserSave, OfTwoStoredRowsWithTheKeyTheOneReadLastIsUpdated) {
  TempShop shop(TempShop::Layout::kInstalled);
  Utility::execDML(
      L"insert into USER (ID, USERNAME, ORG, FULLNAME) values "
      L"(7, 'carol', 'shopA', 'seven'), (9, 'carol', 'shopA', 'nine')",
      DBNAME_MAIN);
  UserDAOImpl dao;
  // Even the incoming ID of the other matched row does not redirect the update.
  ASSERT_TRUE(dao.save(user(L"carol", L"shopA", L"updated", 7)));
  EXPECT_EQ(fullNameOf(9), L"updated");
  EXPECT_EQ(fullNameOf(7), L"seven");
}

TEST(UserSave, NewUserIsStoredUnderTheTableIdWithBothTimesStamped) {
  TempShop shop(TempShop::Layout::kInstalled);
  UserDAOImpl dao;
  DebugCapture capture;
  U fresh = user(L"dave", L"shopA", L"Dave", 42);
  fresh.CREATE_TIME = L"2001-01-01 00:00:00";
  const std::wstring before = Utility::GetNowTime();
  ASSERT_TRUE(dao.save(fresh));
  const std::wstring after = Utility::GetNowTime();

  EXPECT_EQ(fullNameOf(42), L"<no row>");
  const U stored = dao.findById(1);
  EXPECT_EQ(stored.FULLNAME, L"Dave");
  expectStampedBetween(stored.CREATE_TIME, before, after);
  EXPECT_EQ(stored.UPDATE_TIME, stored.CREATE_TIME);
  ASSERT_EQ(capture.lines().size(), 1u);
  EXPECT_EQ(capture.lines()[0].rfind(L"UserDAOImpl::modify::Add 1条Item ", 0), 0u);
}

TEST(UserSave, UserNameWithAQuoteIsLookedUpLikeAnyOther) {
  TempShop shop(TempShop::Layout::kInstalled);
  UserDAOImpl dao;
  ASSERT_TRUE(dao.save(user(L"o'brien", L"shop'A", L"first")));
  ASSERT_TRUE(dao.save(user(L"o'brien", L"shop'A", L"second")));
  EXPECT_EQ(dao.count(), 1);
  EXPECT_EQ(fullNameOf(1), L"second");
  EXPECT_EQ(dao.findById(1).USERNAME, L"o'brien");
}

}  // namespace
