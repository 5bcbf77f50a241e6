// ColumnCheck: a record's columns written out once more in a test, member by column name, apart
// from the record's own column declaration. A record filled through it must be stored with each
// member under its own column name, and read back member for member: a column declared with the
// wrong member, the wrong code or not at all shows up as a mismatch.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

// One column of a ColumnCheck, in a scope that names the record type Record: the member and its
// column, which carries the member's name.
#define QMX_COLUMN(member) \
  qmxdao::test::ColumnCheck<Record>::Column { &Record::member, QMX_WIDE_TEXT(#member) }
#define QMX_WIDE_TEXT(text) L##text

namespace qmxdao::test {

template <typename T>
class ColumnCheck {
 public:
  struct Column {
    std::variant<std::wstring T::*, int T::*, float T::*> member;
    const wchar_t* name;
  };

  // The listed columns and those every record has (ID apart, which the table assigns).
  template <typename... Columns,
            typename = std::enable_if_t<(std::is_same_v<Columns, Column> && ...)>>
  explicit ColumnCheck(Columns... columns) : columns_{columns...} {
    using Record = T;
    columns_.insert(
        columns_.end(),
        {QMX_COLUMN(EXT1), QMX_COLUMN(EXT2), QMX_COLUMN(EXT3), QMX_COLUMN(EXT4), QMX_COLUMN(EXT5),
         QMX_COLUMN(EXT6), QMX_COLUMN(EXT7), QMX_COLUMN(EXT8), QMX_COLUMN(EXT9), QMX_COLUMN(EXT10),
         QMX_COLUMN(CREATE_TIME), QMX_COLUMN(UPDATE_TIME), QMX_COLUMN(DEL_FLAG)});
  }

  // Text columns hold their own name with a non-ASCII tail, ints -1000 minus their place, floats
  // minus their place and a quarter: no two columns share a value.
  void fill(T& record) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      std::visit([&](auto member) { assign(record.*member, i); }, columns_[i].member);
    }
  }

  // The stored row (as Utility::SearchBySQL gives it) has exactly the listed columns and "ID",
  // each holding what fill gave its member.
  void expectStored(const std::map<std::wstring, std::wstring>& row, long long id) const {
    EXPECT_EQ(row.size(), columns_.size() + 1);
    EXPECT_EQ(valueIn(row, L"ID"), std::to_wstring(id));
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      const Column& c = columns_[i];
      std::wstring expected = textOf(i);
      if (std::holds_alternative<int T::*>(c.member)) expected = std::to_wstring(intOf(i));
      if (std::holds_alternative<float T::*>(c.member)) {
        expected = L"-" + std::to_wstring(i) + L".25";
      }
      EXPECT_EQ(valueIn(row, c.name), expected) << c.name;
    }
  }

  // Every listed member equal (the ID is the caller's to compare).
  void expectSame(const T& actual, const T& expected) const {
    for (const Column& c : columns_) {
      std::visit([&](auto member) { EXPECT_EQ(actual.*member, expected.*member) << c.name; },
                 c.member);
    }
  }

 private:
  std::wstring textOf(std::size_t i) const { return std::wstring(columns_[i].name) + L" \u00e9"; }
  static int intOf(std::size_t i) { return -1000 - static_cast<int>(i); }
  void assign(std::wstring& member, std::size_t i) const { member = textOf(i); }
  void assign(int& member, std::size_t i) const { member = intOf(i); }
  void assign(float& member, std::size_t i) const { member = -0.25f - static_cast<float>(i); }

  static std::wstring valueIn(const std::map<std::wstring, std::wstring>& row,
                              const wchar_t* column) {
    auto found = row.find(column);
    return found != row.end() ? found->second : L"<no such column>";
  }

  std::vector<Column> columns_;
};

}  // namespace qmxdao::test
