// ColumnCheck: a record's columns written out once more in a test, member by column name, apart
// from the record's own column declaration. A record filled through it must be stored with each
// member under its own column name, and read back member for member: a column declared with the
// wrong member, the wrong code or not at all shows up as a mismatch.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// One entry of a ColumnCheck list: the member and its column, which carries the member's name.
#define QMX_COLUMN(Record, member) \
  { &Record::member, QMX_WIDE_TEXT(#member) }
#define QMX_WIDE_TEXT(text) L##text

namespace qmxdao::test {

template <typename T>
struct ColumnCheck {
  std::vector<std::pair<std::wstring T::*, const wchar_t*>> texts;
  std::vector<std::pair<int T::*, const wchar_t*>> ints;
  std::vector<std::pair<float T::*, const wchar_t*>> floats;

  // Text columns hold their own name with a non-ASCII tail, ints -1000 minus their place, floats
  // their place plus a half: no two members of one kind share a value.
  static std::wstring textOf(const wchar_t* column) { return std::wstring(column) + L" \u00e9"; }
  static int intOf(std::size_t place) { return -1000 - static_cast<int>(place); }
  static float floatOf(std::size_t place) { return static_cast<float>(place) + 0.5f; }

  void fill(T& record) const {
    for (const auto& [member, column] : texts) record.*member = textOf(column);
    for (std::size_t i = 0; i < ints.size(); ++i) record.*ints[i].first = intOf(i);
    for (std::size_t i = 0; i < floats.size(); ++i) record.*floats[i].first = floatOf(i);
  }

  // The stored row (as Utility::SearchBySQL gives it) has exactly the listed columns and "ID",
  // each holding what fill gave its member.
  void expectStored(const std::map<std::wstring, std::wstring>& row, long long id) const {
    EXPECT_EQ(row.size(), texts.size() + ints.size() + floats.size() + 1);
    EXPECT_EQ(valueIn(row, L"ID"), std::to_wstring(id));
    for (const auto& [member, column] : texts) {
      EXPECT_EQ(valueIn(row, column), textOf(column)) << column;
    }
    for (std::size_t i = 0; i < ints.size(); ++i) {
      EXPECT_EQ(valueIn(row, ints[i].second), std::to_wstring(intOf(i))) << ints[i].second;
    }
    for (std::size_t i = 0; i < floats.size(); ++i) {
      EXPECT_EQ(valueIn(row, floats[i].second), std::to_wstring(i) + L".5") << floats[i].second;
    }
  }

  void expectSame(const T& actual, const T& expected) const {
    for (const auto& [member, column] : texts) {
      EXPECT_EQ(actual.*member, expected.*member) << column;
    }
    for (const auto& [member, column] : ints) EXPECT_EQ(actual.*member, expected.*member) << column;
    for (const auto& [member, column] : floats) {
      EXPECT_EQ(actual.*member, expected.*member) << column;
    }
  }

 private:
  static std::wstring valueIn(const std::map<std::wstring, std::wstring>& row,
                              const wchar_t* column) {
    auto found = row.find(column);
    return found != row.end() ? found->second : L"<no such column>";
  }
};

// A time text stamped between two readings of Utility::GetNowTime.
inline void expectStampedBetween(const std::wstring& stamp, const std::wstring& before,
                                 const std::wstring& after) {
  EXPECT_EQ(stamp.size(), 19u) << stamp;
  EXPECT_LE(before, stamp);
  EXPECT_LE(stamp, after);
}

}  // namespace qmxdao::test
