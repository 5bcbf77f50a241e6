// Utility's text helpers: the system's wide printf conventions on this platform, the paging and
// counting SQL written into caller buffers, trimming, the time stamp and the conversions.
#include <gtest/gtest.h>

#include <clocale>
#include <ctime>
#include <string>
#include <vector>

#include "qmxdao/storage/Utility.h"
#include "testing/host_system.h"

namespace {

using QMXDAO::Utility;

TEST(UtilityFormat, FollowsTheWideConventionsOfTheSystem) {
  EXPECT_EQ(Utility::Format(L"name='%s'", L"Tea"), L"name='Tea'");
  EXPECT_EQ(Utility::Format(L"ID=%I64d", 9000000000LL), L"ID=9000000000");
  EXPECT_EQ(Utility::Format(L"%I64d", -9000000000LL), L"-9000000000");
  EXPECT_EQ(Utility::Format(L"%I64u", 18000000000000000000ULL), L"18000000000000000000");
  EXPECT_EQ(Utility::Format(L"%d/%d", 7, -3), L"7/-3");
  EXPECT_EQ(Utility::Format(L"[%S]", "narrow"), L"[narrow]");
#ifndef _WIN32
  // A narrow text the C locale cannot decode keeps the rest of the text. (Windows decodes it in
  // the active code page.)
  EXPECT_EQ(Utility::Format(L"%d [%S] %s %5.1f %I64d", 7, "caf\xe9!", L"tea", 2.5, 1LL << 40),
            L"7 [caf?!] tea   2.5 1099511627776");
#endif
  EXPECT_EQ(Utility::Format(L"[%c]", L'Z'), L"[Z]");
  EXPECT_EQ(Utility::Format(L"100%%"), L"100%");
  // A literal percent sign before an s is no conversion and must not be translated into one.
  EXPECT_EQ(Utility::Format(L"%%s"), L"%s");
  EXPECT_EQ(Utility::Format(L"%%%s", L"x"), L"%x");
  EXPECT_EQ(Utility::Format(L"%-5s|%5s|", L"ab", L"cd"), L"ab   |   cd|");
  EXPECT_EQ(Utility::Format(L"%05d %.2f", 42, 2.5), L"00042 2.50");
  EXPECT_EQ(Utility::Format(L"%s and %s", L"caf\u00e9", L"\u4e2d\U0001F600"),
            L"caf\u00e9 and \u4e2d\U0001F600");
}

TEST(UtilityFormat, EmptyAndLongResults) {
  EXPECT_EQ(Utility::Format(nullptr), L"");
  EXPECT_EQ(Utility::Format(L""), L"");
  EXPECT_EQ(Utility::Format(L"%s", L""), L"");

  const std::wstring big(100000, L'x');
  EXPECT_EQ(Utility::Format(L"<%s>", big.c_str()), L"<" + big + L">");
}

// Runs a builder on a buffer full of garbage, so that a missing terminator or a piece written at
// the wrong place shows.
template <typename Build>
std::wstring built(Build build) {
  std::vector<wchar_t> out(1024, L'#');
  out.back() = L'\0';
  EXPECT_TRUE(build(out.data()));
  return out.data();
}

TEST(UtilityBuildPagerSql, AscendingFlagForm) {
  EXPECT_EQ(built([](wchar_t* out) {
              return Utility::BuildPagerSql(L"ITEM", 20, 3, L"ID", true, nullptr, out);
            }),
            L"select  * from ITEM  order by ID ASC limit 40,20 ");
  EXPECT_EQ(built([](wchar_t* out) {
              return Utility::BuildPagerSql(L"ITEM", 20, 3, L"ID", false, L"", out);
            }),
            L"select  * from ITEM  order by ID DESC limit 40,20 ");
  EXPECT_EQ(built([](wchar_t* out) {
              return Utility::BuildPagerSql(L"ITEM", 20, 1, L"NAME", true, L"PRICE>5", out);
            }),
            L"select  * from ITEM  where PRICE>5  order by NAME ASC limit 0,20 ");
  // A null table name is taken as the empty text, like the other null arguments.
  EXPECT_EQ(built([](wchar_t* out) {
              return Utility::BuildPagerSql(nullptr, 20, 1, L"ID", true, nullptr, out);
            }),
            L"select  * from   order by ID ASC limit 0,20 ");
  EXPECT_EQ(built([](wchar_t* out) {
              return Utility::BuildPagerSql(nullptr, 20, 1, nullptr, nullptr, nullptr, out);
            }),
            L"select *,length([upc]) from   limit 20  offset 0 ");
}

TEST(UtilityBuildPagerSql, OrderClauseForm) {
  EXPECT_EQ(built([](wchar_t* out) {
              return Utility::BuildPagerSql(L"ITEM", 20, 3, L"unused", L"ID DESC", nullptr, out);
            }),
            L"select *,length([upc]) from ITEM  order by ID DESC  limit 20  offset 40 ");
  EXPECT_EQ(built([](wchar_t* out) {
              return Utility::BuildPagerSql(L"ITEM", 20, 1, nullptr, nullptr, L"", out);
            }),
            L"select *,length([upc]) from ITEM  limit 20  offset 0 ");
  EXPECT_EQ(built([](wchar_t* out) {
              return Utility::BuildPagerSql(L"ITEM", 10, 2, L"", L"", L"TYPE='A'", out);
            }),
            L"select *,length([upc]) from ITEM  where TYPE='A'  limit 10  offset 10 ");
  EXPECT_EQ(
      built([](wchar_t* out) {
        return Utility::BuildPagerSql(L"ITEM", 20, 3, L"", L"ID DESC", L"ID>5", out);
      }),
      L"select *,length([upc]) from ITEM  where ID>5  order by ID DESC  limit 20  offset 40 ");
}

TEST(UtilityBuildCountSql, ConditionOnlyWhenGiven) {
  EXPECT_EQ(built([](wchar_t* out) { return Utility::BuildCountSql(L"ITEM", nullptr, out); }),
            L"select count(*) as c from ITEM");
  EXPECT_EQ(built([](wchar_t* out) { return Utility::BuildCountSql(L"ITEM", L"", out); }),
            L"select count(*) as c from ITEM");
  EXPECT_EQ(built([](wchar_t* out) { return Utility::BuildCountSql(L"ITEM", L"ID>5", out); }),
            L"select count(*) as c from ITEM where ID>5 ");
}

std::wstring trimmed(std::wstring text) {
  std::wstring& result = Utility::Trim(text);
  EXPECT_EQ(&result, &text) << "Trim works in place";
  return result;
}

TEST(UtilityTrim, CutsBlanksAtBothEndsOnly) {
  EXPECT_EQ(trimmed(L" \t\r\nTea  bag\t \n"), L"Tea  bag");
  EXPECT_EQ(trimmed(L"Tea"), L"Tea");
  EXPECT_EQ(trimmed(L""), L"");
  // Kept as the application knows it: a text of blanks alone comes back as it was.
  EXPECT_EQ(trimmed(L" \t\r\n "), L" \t\r\n ");
  // Only the four blank characters count.
  EXPECT_EQ(trimmed(L"\v x \f"), L"\v x \f");
}

TEST(UtilityGetNowTime, IsTheLocalTimeAsText) {
  auto now = [] {
    const std::time_t t = std::time(nullptr);
    const std::tm local = *std::localtime(&t);
    wchar_t text[64];
    std::wcsftime(text, 64, L"%Y-%m-%d %H:%M:%S", &local);
    return std::wstring(text);
  };
  const std::wstring before = now();
  const std::wstring stamp = Utility::GetNowTime();
  const std::wstring after = now();
  ASSERT_EQ(stamp.size(), 19u) << stamp;
  EXPECT_GE(stamp, before);
  EXPECT_LE(stamp, after);
}

int asInt(std::wstring text) { return Utility::get_value_int(text); }
int asLong(std::wstring text) { return Utility::get_value_long(text); }
long long asLongLong(std::wstring text) { return Utility::get_value_long_long(text); }
double asDouble(std::wstring text) { return Utility::get_value_double(text); }
float asFloat(std::wstring text) { return Utility::get_value_float(text); }

TEST(UtilityConversions, NumbersFollowTheUsualTextRules) {
  EXPECT_EQ(asInt(L" 42abc"), 42);
  EXPECT_EQ(asInt(L"abc"), 0);
  EXPECT_EQ(asInt(L""), 0);
  EXPECT_EQ(asInt(L"-17"), -17);
  EXPECT_EQ(asInt(L"+8"), 8);
  EXPECT_EQ(asInt(L"\t \n 12 34"), 12);
  EXPECT_EQ(asInt(L"- 5"), 0);
  EXPECT_EQ(asLong(L"  -2147483648"), -2147483647 - 1);
  EXPECT_EQ(asLong(L"2147483647x"), 2147483647);

  EXPECT_EQ(asLongLong(L"9000000000"), 9000000000LL);
  EXPECT_EQ(asLongLong(L" -9223372036854775807"), -9223372036854775807LL);
  EXPECT_EQ(asLongLong(L"12.9"), 12);
  EXPECT_EQ(asLongLong(L"x1"), 0);

  EXPECT_DOUBLE_EQ(asDouble(L"3.25"), 3.25);
  EXPECT_DOUBLE_EQ(asDouble(L" -2.5e3kg"), -2500.0);
  EXPECT_DOUBLE_EQ(asDouble(L"abc"), 0.0);
  EXPECT_DOUBLE_EQ(asDouble(L"7"), 7.0);
  EXPECT_FLOAT_EQ(asFloat(L"0.1"), 0.1f);
  EXPECT_FLOAT_EQ(asFloat(L"19.99"), 19.99f);
  EXPECT_FLOAT_EQ(asFloat(L""), 0.0f);

  std::wstring text = L" 42abc";
  Utility::get_value_int(text);
  Utility::get_value_double(text);
  EXPECT_EQ(text, L" 42abc") << "a conversion never changes its argument";
}

TEST(UtilityConversions, TextPointersAreNullForTheEmptyString) {
  std::wstring empty;
  EXPECT_EQ(Utility::get_value_wstring(empty), nullptr);
  EXPECT_EQ(Utility::get_value_string(empty), nullptr);

  std::wstring tea = L"Tea";
  EXPECT_EQ(Utility::get_value_wstring(tea), tea.c_str());
  EXPECT_STREQ(Utility::get_value_string(tea), "Tea");
}

TEST(UtilityConversions, NarrowTextUsesTheCurrentLocale) {
  if (qmxdao::test::kOnWindows) {
    GTEST_SKIP() << "Windows narrows to the active code page: WindowsText tests it";
  }
  // The process starts in the C locale, which holds ASCII alone.
  std::wstring accented = L"a\u00e9b";
  EXPECT_STREQ(Utility::get_value_string(accented), "a?b");
  std::wstring beyondBmp = L"x\U0001F600y";
  EXPECT_STREQ(Utility::get_value_string(beyondBmp), "x?y");

  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  const char* narrow = Utility::get_value_string(accented);
  const std::string copy = narrow == nullptr ? "" : narrow;
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(copy,
            "a\xc3\xa9"
            "b");
}

}  // namespace
