// What every record's data access shares, as typed tests on a real keyed file: the column round
// trip, update and delete by ID, which row the batch save updates for a matched key, and how it
// stamps and numbers new records. A record's test instantiates them with its Traits.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <variant>
#include <vector>

#include "dao/record_policy.h"
#include "qmxdao/storage/Utility.h"
#include "testing/debug_capture.h"
#include "testing/temp_shop.h"

// One Column, in a scope that names the record type Record.
#define QMX_COL(member) \
  qmxdao::test::Column<Record> { &Record::member, QMX_WIDE_TEXT(#member) }
#define QMX_WIDE_TEXT(text) L##text

namespace qmxdao::test {

using Lines = std::vector<std::wstring>;
using Rows = std::vector<std::map<std::wstring, std::wstring>>;  // as Utility::SearchBySQL gives

// The debug lines with their time text (the 19 characters before the line end) cut out.
inline Lines untimed(const DebugCapture& capture) {
  Lines lines;
  for (std::wstring line : capture.lines()) {
    if (line.size() >= 20) line.erase(line.size() - 20, 19);
    lines.push_back(line);
  }
  return lines;
}

// Whether a time text was stamped between two readings of Utility::GetNowTime.
inline bool stampedBetween(const std::wstring& t, const std::wstring& before,
                           const std::wstring& after) {
  return t.size() == 19 && before <= t && t <= after;
}

template <typename T>
struct Column {  // a member and its column's name
  std::variant<std::wstring T::*, int T::*, float T::*> member;
  const wchar_t* name;
};

// A record's shape (its traits' kShape), with its columns written out once more apart from its own
// declaration: a column declared with the wrong member, type or not at all shows up in a filled
// record's trip.
template <typename T>
struct RecordShape {
  const wchar_t* table;
  QMXDAO::enDBNameType file;
  NewRecordStamp stamp;            // how the batch save stamps a new record
  bool mergeKeepsId;               // the merge keeps the stored row's ID
  std::wstring T::*key[2];         // the natural key's members; the second null for one column
  std::wstring T::*value;          // a text member that only the caller sets
  std::vector<Column<T>> columns;  // every column but ID

  // Gives no two columns the same value (a text its name and a non-ASCII tail, a number one
  // derived from its place); returns the row texts to be stored.
  std::map<std::wstring, std::wstring> fill(T& record) const {
    std::map<std::wstring, std::wstring> row;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const Column<T>& c = columns[i];
      if (auto text = std::get_if<std::wstring T::*>(&c.member)) {
        row[c.name] = record.*(*text) = std::wstring(c.name) + L" \u00e9";
      } else if (auto number = std::get_if<int T::*>(&c.member)) {
        row[c.name] = std::to_wstring(record.*(*number) = -1000 - static_cast<int>(i));
      } else {
        record.*std::get<float T::*>(c.member) = -0.25f - static_cast<float>(i);
        row[c.name] = L"-" + std::to_wstring(i) + L".25";
      }
    }
    return row;
  }

  // Every listed member equal (the ID is the caller's to compare).
  void expectSame(const T& actual, const T& expected) const {
    for (const Column<T>& c : columns) {
      std::visit([&](auto member) { EXPECT_EQ(actual.*member, expected.*member) << c.name; },
                 c.member);
    }
  }
};

// A record's shape: the listed columns and those every record has.
template <typename T, typename... Columns>
RecordShape<T> shape(const wchar_t* table, QMXDAO::enDBNameType file, NewRecordStamp stamp,
                     bool mergeKeepsId, std::wstring T::*key0, std::wstring T::*key1,
                     std::wstring T::*value, Columns... columns) {
  using Record = T;
  std::vector<Column<T>> all = {
      columns...,     QMX_COL(EXT1),        QMX_COL(EXT2),        QMX_COL(EXT3),    QMX_COL(EXT4),
      QMX_COL(EXT5),  QMX_COL(EXT6),        QMX_COL(EXT7),        QMX_COL(EXT8),    QMX_COL(EXT9),
      QMX_COL(EXT10), QMX_COL(CREATE_TIME), QMX_COL(UPDATE_TIME), QMX_COL(DEL_FLAG)};
  return {table, file, stamp, mergeKeepsId, {key0, key1}, value, all};
}

// A record's traits: its data-access class, record type and kShape.
template <typename D, typename R>
struct Traits {
  using Dao = D;
  using Record = R;
};

template <typename Traits>
class RecordDao : public testing::Test {};

// A record with the natural key (a, b) (a one-column key holds both parts), id and value.
template <typename Traits>
void setKey(typename Traits::Record& record, const std::wstring& a, const std::wstring& b) {
  const auto& key = Traits::kShape.key;
  if (key[1] != nullptr) record.*key[1] = b;
  record.*key[0] = key[1] != nullptr ? a : a + b;
}

template <typename Traits>
typename Traits::Record keyed(const std::wstring& a, const std::wstring& b, long long id = 0,
                              const std::wstring& value = L"") {
  typename Traits::Record record;
  setKey<Traits>(record, a, b);
  record.ID = id;
  record.*Traits::kShape.value = value;
  return record;
}

TYPED_TEST_SUITE_P(RecordDao);

TYPED_TEST_P(RecordDao, AMatchedKeyUpdatesAMatchedRowWhateverIdItCarries) {
  using T = typename TypeParam::Record;
  const auto& shape = TypeParam::kShape;
  TempShop shop(TempShop::Layout::kInstalled);
  typename TypeParam::Dao dao;
  // Rows 1 and 2 differ in the key's second part alone; rows 3 and 4 share a key.
  ASSERT_TRUE(dao.add(std::vector<T>{keyed<TypeParam>(L"a", L"x"), keyed<TypeParam>(L"a", L"y"),
                                     keyed<TypeParam>(L"b", L"x"), keyed<TypeParam>(L"b", L"x")}));
  const T second = dao.findById(2);
  const T third = dao.findById(3);
  // Every column as given, the time texts unstamped; an ID of 0, or of a row the key did not
  // match, still writes the matched row.
  T incoming;
  shape.fill(incoming);
  setKey<TypeParam>(incoming, L"a", L"x");
  incoming.ID = 1;
  ASSERT_TRUE(dao.save(incoming));
  shape.expectSame(dao.findById(1), incoming);
  for (long long id : {0, 2}) {
    incoming.ID = id;
    incoming.*shape.value = L"id " + std::to_wstring(id);
    ASSERT_TRUE(dao.save(incoming));
    EXPECT_EQ(dao.findById(1).*shape.value, incoming.*shape.value);
  }
  shape.expectSame(dao.findById(2), second);

  // Of two matched rows: the one the ID names when the merge takes the incoming ID, else (and
  // for ID 0) the one read last.
  const T first = keyed<TypeParam>(L"b", L"x", 3, L"first");
  ASSERT_TRUE(dao.save(std::vector<T>{first, keyed<TypeParam>(L"b", L"x", 0, L"last")}));
  shape.expectSame(dao.findById(3), shape.mergeKeepsId ? third : first);
  EXPECT_EQ(dao.findById(4).*shape.value, L"last");
  EXPECT_EQ(dao.count(), 4);
}

TYPED_TEST_P(RecordDao, ColumnsRoundTripNewRecordsAreStampedAndNumberedIdsNameTheRowsTouched) {
  using T = typename TypeParam::Record;
  const auto& shape = TypeParam::kShape;
  TempShop shop(TempShop::Layout::kInstalled);
  typename TypeParam::Dao dao;
  // Every column stored under its own name and read back; add leaves the ID to the table.
  T stored;
  auto row = shape.fill(stored);
  stored.ID = 77;
  ASSERT_TRUE(dao.add(stored));
  row[L"ID"] = L"1";
  const std::wstring all = std::wstring(L"select * from ") + shape.table;
  EXPECT_EQ(QMXDAO::Utility::SearchBySQL(all, shape.file), Rows{row});
  shape.expectSame(dao.findById(1), stored);

  // One new key twice (both lookups run before either insert), carrying an ID no row has and
  // the stored row's: the new rows take neither.
  T given = keyed<TypeParam>(L"n", L"x", 77, L"given");
  given.CREATE_TIME = L"2001-01-01 00:00:00";
  given.UPDATE_TIME = L"2002-02-02 00:00:00";
  T empty = keyed<TypeParam>(L"n", L"x", 1, L"empty");
  empty.UPDATE_TIME = given.UPDATE_TIME;
  const std::wstring before = QMXDAO::Utility::GetNowTime();
  ASSERT_TRUE(dao.save(std::vector<T>{given, empty}));
  const std::wstring after = QMXDAO::Utility::GetNowTime();
  const T first = dao.findById(2);
  const T second = dao.findById(3);
  EXPECT_EQ(first.*shape.value + L"," + second.*shape.value, L"given,empty");
  // A time the save stamped shows as "now".
  const auto shown = [&](const std::wstring& t) {
    return stampedBetween(t, before, after) ? L"now" : t;
  };
  const bool stamps = shape.stamp != NewRecordStamp::kNone;
  const bool both = shape.stamp == NewRecordStamp::kBothTimes;
  EXPECT_EQ(shown(first.CREATE_TIME), both ? L"now" : given.CREATE_TIME);
  EXPECT_EQ(shown(first.UPDATE_TIME), stamps ? L"now" : given.UPDATE_TIME);
  EXPECT_EQ(shown(second.CREATE_TIME), stamps ? L"now" : L"");
  EXPECT_EQ(shown(second.UPDATE_TIME), stamps ? L"now" : given.UPDATE_TIME);

  // update and delete touch the rows their IDs name alone, an ID beyond 32 bits in full.
  T third = second;
  third.*shape.value = L"updated";
  ASSERT_TRUE(dao.update(std::vector<T>{third, keyed<TypeParam>(L"g", L"x", 99, L"ghost")}));
  QMXDAO::Utility::execDML(
      std::wstring(L"insert into ") + shape.table + L" (ID) values (5000000000)", shape.file);
  EXPECT_EQ(dao.findById(5000000000LL).ID, 5000000000LL);
  ASSERT_TRUE(dao.delet(std::vector<long long>{2, 5000000000LL}));
  // With row 2 gone a row count plus 1 would give 3 again, a stored ID.
  ASSERT_TRUE(dao.save(keyed<TypeParam>(L"m", L"x", 0, L"after delete")));
  Lines rows;
  for (const T& r : dao.findBySQL(all))
    rows.push_back(std::to_wstring(r.ID) + L" " + r.*shape.value);
  EXPECT_EQ(rows, (Lines{L"1 " + stored.*shape.value, L"3 updated", L"4 after delete"}));
}

REGISTER_TYPED_TEST_SUITE_P(RecordDao, AMatchedKeyUpdatesAMatchedRowWhateverIdItCarries,
                            ColumnsRoundTripNewRecordsAreStampedAndNumberedIdsNameTheRowsTouched);

}  // namespace qmxdao::test
