// The behaviours every record's data access shares, written once as type-parameterised tests on
// a real keyed file: the column round trip, which row the batch save updates for a matched key,
// and how it stamps and numbers new records. A record's test file gives its traits (see
// RecordDao) and instantiates the suite with them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dao/record_policy.h"
#include "qmxdao/storage/Utility.h"
#include "testing/column_check.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

namespace qmxdao::test {

using Lines = std::vector<std::wstring>;

// The debug lines with their time text (the 19 characters before the line end) cut out.
inline Lines untimed(const DebugCapture& capture) {
  Lines lines;
  for (std::wstring line : capture.lines()) {
    if (line.size() >= 20) line.erase(line.size() - 20, 19);
    lines.push_back(line);
  }
  return lines;
}

// A time text stamped between two readings of Utility::GetNowTime.
inline void expectStampedBetween(const std::wstring& stamp, const std::wstring& before,
                                 const std::wstring& after) {
  EXPECT_EQ(stamp.size(), 19u) << stamp;
  EXPECT_LE(before, stamp);
  EXPECT_LE(stamp, after);
}

// What most records' traits share.
struct RecordTraits {
  static constexpr QMXDAO::enDBNameType kFile = QMXDAO::DBNAME_MAIN;
  static constexpr bool kDropsUnchanged = false;  // a found record equal to its row is dropped
};

// A record's traits: Dao, Record, kTable, kFile, kLines (the head of its debug lines), kStamp
// (how a new record is stamped), kMergeKeepsId (the copy assignment keeps the target's ID),
// kDropsUnchanged, kKey (its natural key's text members; the second null for a one-column key),
// kValue (a text member that only the caller sets) and columns() (a ColumnCheck of every column).
template <typename Traits>
class RecordDao : public testing::Test {};

// The record's debug line for a group of size records: "Add" or "Updates".
template <typename Traits>
std::wstring groupLine(const wchar_t* group, int size) {
  return std::wstring(Traits::kLines) + group + L" " + std::to_wstring(size) + L"条Item \n";
}

// Sets the natural key (a, b); a one-column key holds both parts.
template <typename Traits>
void setKey(typename Traits::Record& record, const std::wstring& a, const std::wstring& b) {
  if (Traits::kKey[1] == nullptr) {
    record.*Traits::kKey[0] = a + b;
  } else {
    record.*Traits::kKey[0] = a;
    record.*Traits::kKey[1] = b;
  }
}

template <typename Traits>
typename Traits::Record keyed(const std::wstring& a, const std::wstring& b, long long id = 0,
                              const std::wstring& value = L"") {
  typename Traits::Record record;
  setKey<Traits>(record, a, b);
  record.ID = id;
  record.*Traits::kValue = value;
  return record;
}

TYPED_TEST_SUITE_P(RecordDao);

TYPED_TEST_P(RecordDao, EveryColumnIsStoredUnderItsOwnNameAndReadBack) {
  TempShop shop(TempShop::Layout::kInstalled);
  typename TypeParam::Dao dao;
  const auto columns = TypeParam::columns();
  typename TypeParam::Record record;
  columns.fill(record);
  record.ID = 77;  // add leaves the identifier to the table
  ASSERT_TRUE(dao.add(record));

  const auto rows = QMXDAO::Utility::SearchBySQL(
      std::wstring(L"select * from ") + TypeParam::kTable, TypeParam::kFile);
  ASSERT_EQ(rows.size(), 1u);
  columns.expectStored(rows[0], 1);
  const auto back = dao.findById(1);
  EXPECT_EQ(back.ID, 1);
  columns.expectSame(back, record);
}

TYPED_TEST_P(RecordDao, AMatchedKeyUpdatesAMatchedRowWhateverIdItCarries) {
  using T = typename TypeParam::Record;
  TempShop shop(TempShop::Layout::kInstalled);
  typename TypeParam::Dao dao;
  const auto columns = TypeParam::columns();
  // Rows 1 and 2 differ in the key's second part alone; rows 3 and 4 share a key.
  ASSERT_TRUE(dao.add(std::vector<T>{keyed<TypeParam>(L"a", L"x"), keyed<TypeParam>(L"a", L"y"),
                                     keyed<TypeParam>(L"b", L"x"), keyed<TypeParam>(L"b", L"x")}));
  const T second = dao.findById(2);
  const T third = dao.findById(3);
  Lines expected;
  DebugCapture capture;
  // Without a change test a found record is written even when nothing changed.
  ASSERT_TRUE(dao.save(second));
  if (!TypeParam::kDropsUnchanged) expected.push_back(groupLine<TypeParam>(L"Updates", 1));

  // Every column as given, the time texts unstamped.
  T incoming;
  columns.fill(incoming);
  setKey<TypeParam>(incoming, L"a", L"x");
  incoming.ID = 1;
  ASSERT_TRUE(dao.save(incoming));
  columns.expectSame(dao.findById(1), incoming);

  // An ID of 0, or of a row the key did not match, still writes the matched row.
  incoming.ID = 0;
  incoming.*TypeParam::kValue = L"zero";
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_EQ(dao.findById(1).*TypeParam::kValue, L"zero");
  incoming.ID = 2;
  incoming.*TypeParam::kValue = L"other";
  ASSERT_TRUE(dao.save(incoming));
  EXPECT_EQ(dao.findById(1).*TypeParam::kValue, L"other");
  columns.expectSame(dao.findById(2), second);

  // Of two matched rows: the one the ID names when the merge takes the incoming ID, else (and
  // for ID 0) the one read last.
  const T first = keyed<TypeParam>(L"b", L"x", 3, L"first");
  ASSERT_TRUE(dao.save(std::vector<T>{first, keyed<TypeParam>(L"b", L"x", 0, L"last")}));
  columns.expectSame(dao.findById(3), TypeParam::kMergeKeepsId ? third : first);
  EXPECT_EQ(dao.findById(4).*TypeParam::kValue, L"last");
  EXPECT_EQ(dao.count(), 4);
  expected.insert(expected.end(), 3, groupLine<TypeParam>(L"Updates", 1));
  expected.push_back(groupLine<TypeParam>(L"Updates", 2));
  EXPECT_EQ(untimed(capture), expected);
}

TYPED_TEST_P(RecordDao, NewRecordsAreStampedByTheirRuleAndNumberedAfterTheLargestId) {
  using T = typename TypeParam::Record;
  TempShop shop(TempShop::Layout::kInstalled);
  typename TypeParam::Dao dao;
  ASSERT_TRUE(dao.add(keyed<TypeParam>(L"a", L"x", 0, L"stored")));

  // One new key twice (both lookups run before either insert), carrying an ID no row has and
  // the stored row's: the new rows take neither.
  T given = keyed<TypeParam>(L"n", L"x", 77, L"given");
  given.CREATE_TIME = L"2001-01-01 00:00:00";
  given.UPDATE_TIME = L"2002-02-02 00:00:00";
  T empty = keyed<TypeParam>(L"n", L"x", 1, L"empty");
  empty.UPDATE_TIME = given.UPDATE_TIME;
  const std::wstring before = QMXDAO::Utility::GetNowTime();
  DebugCapture capture;
  ASSERT_TRUE(dao.save(std::vector<T>{given, empty}));
  const std::wstring after = QMXDAO::Utility::GetNowTime();
  EXPECT_EQ(untimed(capture), Lines{groupLine<TypeParam>(L"Add", 2)});
  EXPECT_EQ(dao.findById(1).*TypeParam::kValue, L"stored");
  EXPECT_EQ(dao.findById(77).ID, 0);
  const T first = dao.findById(2);
  const T second = dao.findById(3);
  EXPECT_EQ(first.*TypeParam::kValue, L"given");
  EXPECT_EQ(second.*TypeParam::kValue, L"empty");

  const auto expectTime = [&](const std::wstring& time, bool stamped, const std::wstring& kept) {
    if (stamped) {
      expectStampedBetween(time, before, after);
    } else {
      EXPECT_EQ(time, kept);
    }
  };
  const bool stamps = TypeParam::kStamp != NewRecordStamp::kNone;
  expectTime(first.CREATE_TIME, TypeParam::kStamp == NewRecordStamp::kBothTimes,
             L"2001-01-01 00:00:00");
  expectTime(first.UPDATE_TIME, stamps, given.UPDATE_TIME);
  expectTime(second.CREATE_TIME, stamps, L"");
  expectTime(second.UPDATE_TIME, stamps, given.UPDATE_TIME);

  // With row 2 gone a row count plus 1 would give 3 again, a stored ID.
  ASSERT_TRUE(dao.delet(2));
  ASSERT_TRUE(dao.save(keyed<TypeParam>(L"m", L"x", 0, L"after delete")));
  EXPECT_EQ(dao.findById(4).*TypeParam::kValue, L"after delete");
  EXPECT_EQ(dao.count(), 3);
}

REGISTER_TYPED_TEST_SUITE_P(RecordDao, EveryColumnIsStoredUnderItsOwnNameAndReadBack,
                            AMatchedKeyUpdatesAMatchedRowWhateverIdItCarries,
                            NewRecordsAreStampedByTheirRuleAndNumberedAfterTheLargestId);

}  // namespace qmxdao::test
