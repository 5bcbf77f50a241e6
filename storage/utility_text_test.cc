// Utility's text helpers: the system's wide printf conventions on this platform, the paging and
// counting SQL written into caller buffers, trimming, the time stamp, the conversions and the
// binding of a column value's text by its data_type code (read back from a real file).
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <ctime>
#include <cwchar>
#include <string>
#include <vector>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "testing/host_system.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::Utility;
using QMXDataDomain::ColumnValue;
namespace domain = QMXDataDomain;

TEST(UtilityFormat, FollowsTheWideConventionsOfTheSystem) {
  // A literal percent sign before an s is no conversion and must not be translated into one.
  EXPECT_EQ(Utility::Format(L"'%s' [%S] %c %I64d %I64u %-4s| 100%% %%s %%%s", L"caf\u00e9 \u4e2d",
                            "narrow", L'Z', -9000000000LL, 18000000000000000000ULL, L"ab", L"x"),
            L"'caf\u00e9 \u4e2d' [narrow] Z -9000000000 18000000000000000000 ab  | 100% %s %x");
#ifndef _WIN32
  // A narrow text the C locale cannot decode keeps the rest of the text. (Windows decodes it in
  // the active code page.)
  EXPECT_EQ(Utility::Format(L"%d [%S] %s %5.1f %I64d", 7, "caf\xe9!", L"tea", 2.5, 1LL << 40),
            L"7 [caf?!] tea   2.5 1099511627776");
#endif
  EXPECT_EQ(Utility::Format(nullptr), L"");
  const std::wstring big(100000, L'x');
  EXPECT_EQ(Utility::Format(L"<%s>", big.c_str()), L"<" + big + L">");
}

TEST(UtilityBuildPagerSql, BothFormsAndTheCountStatementExactly) {
  // Each builder writes into a buffer full of garbage: a missing terminator shows.
  wchar_t buffer[256] = {};
  const auto fresh = [&] { return std::wmemset(buffer, L'#', 255); };
  const auto text = [&](bool built) { return built ? std::wstring(buffer) : L"<failed>"; };
  EXPECT_EQ(text(Utility::BuildPagerSql(L"ITEM", 20, 3, L"ID", false, nullptr, fresh())),
            L"select  * from ITEM  order by ID DESC limit 40,20 ");
  EXPECT_EQ(text(Utility::BuildPagerSql(nullptr, 20, 1, L"NAME", true, L"PRICE>5", fresh())),
            L"select  * from   where PRICE>5  order by NAME ASC limit 0,20 ");
  EXPECT_EQ(
      text(Utility::BuildPagerSql(L"ITEM", 20, 3, L"", L"ID DESC", L"ID>5", fresh())),
      L"select *,length([upc]) from ITEM  where ID>5  order by ID DESC  limit 20  offset 40 ");
  EXPECT_EQ(text(Utility::BuildPagerSql(L"ITEM", 10, 1, nullptr, nullptr, L"", fresh())),
            L"select *,length([upc]) from ITEM  limit 10  offset 0 ");
  EXPECT_EQ(text(Utility::BuildCountSql(L"ITEM", L"", fresh())), L"select count(*) as c from ITEM");
  EXPECT_EQ(text(Utility::BuildCountSql(L"ITEM", L"ID>5", fresh())),
            L"select count(*) as c from ITEM where ID>5 ");
}

TEST(UtilityTrim, CutsTheFourBlanksAtBothEndsInPlace) {
  // Kept as the application knows it: a text of blanks alone comes back as it was.
  using Texts = std::pair<std::wstring, std::wstring>;
  for (auto [text, trimmed] :
       {Texts(L" \t\r\nTea  bag\t \n", L"Tea  bag"), Texts(L"\v x \f", L"\v x \f"),
        Texts(L" \t\r\n ", L" \t\r\n "), Texts(L"", L"")}) {
    EXPECT_EQ(&Utility::Trim(text), &text);
    EXPECT_EQ(text, trimmed);
  }
}

TEST(UtilityGetNowTime, IsTheLocalTimeAsText) {
  const auto now = [] {
    const std::time_t t = std::time(nullptr);
    wchar_t text[64];
    return std::wstring(text, std::wcsftime(text, 64, L"%Y-%m-%d %H:%M:%S", std::localtime(&t)));
  };
  const std::wstring before = now(), stamp = Utility::GetNowTime(), after = now();
  EXPECT_EQ(stamp.size(), 19u) << stamp;
  EXPECT_TRUE(before <= stamp && stamp <= after) << before << " " << stamp << " " << after;
}

TEST(UtilityConversions, DecimalTextRulesWithSaturation) {
  // Each text's 64-bit value; the 32-bit conversions take the nearest end of their range.
  using Case = std::pair<std::wstring, long long>;
  for (auto [text, value] :
       {Case(L" 42abc", 42), Case(L"abc", 0), Case(L"", 0), Case(L"-17", -17), Case(L"+8", 8),
        Case(L"\t\n 12 34", 12), Case(L"- 5", 0), Case(L"12.9", 12), Case(L"010", 10),
        Case(L"0x1F", 0), Case(L"2147483647x", INT_MAX), Case(L"  -2147483648", INT_MIN),
        Case(L"99999999999", 99999999999LL), Case(L"-99999999999", -99999999999LL),
        Case(L"99999999999999999999", LLONG_MAX), Case(L"-99999999999999999999", LLONG_MIN)}) {
    const long long narrow = value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value;
    EXPECT_EQ(Utility::get_value_int(text), narrow) << text;
    EXPECT_EQ(Utility::get_value_long(text), narrow) << text;
    EXPECT_EQ(Utility::get_value_long_long(text), value) << text;
  }
  std::wstring argument = L" -2.5e3kg";
  EXPECT_EQ(Utility::get_value_double(argument), -2500.0);
  EXPECT_EQ(argument, L" -2.5e3kg") << "a conversion never changes its argument";
  // Decimal text gives the nearest double on every C runtime (one Windows runtime is 1 ulp off
  // on this price).
  for (auto [text, value] :
       {std::pair(L"58.605518", 0x1.d4d819d2391d5p+5), std::pair(L"+.5", 0.5),
        std::pair(L"\t-.25e1", -2.5), std::pair(L"+-1", 0.0), std::pair(L"1e400", HUGE_VAL)}) {
    std::wstring input = text;
    EXPECT_EQ(Utility::get_value_double(input), value) << text;
  }
  for (auto [text, value] : {std::pair(L"19.99", 19.99f), std::pair(L"", 0.0f),
                             std::pair(L"1e300", INFINITY), std::pair(L"-1e300", -INFINITY)}) {
    std::wstring input = text;
    EXPECT_EQ(Utility::get_value_float(input), value) << text;
  }
}

TEST(UtilityConversions, TextPointersAreNullForTheEmptyStringAndNarrowByTheLocale) {
  std::wstring empty, tea = L"Tea", accented = L"a\u00e9b", beyondBmp = L"x\U0001F600y";
  EXPECT_EQ(Utility::get_value_wstring(empty), nullptr);
  EXPECT_EQ(Utility::get_value_string(empty), nullptr);
  EXPECT_EQ(Utility::get_value_wstring(tea), tea.c_str());
  EXPECT_STREQ(Utility::get_value_string(tea), "Tea");
  if (qmxdao::test::kOnWindows) {
    GTEST_SKIP() << "Windows narrows to the active code page: WindowsText tests it";
  }
  // The process starts in the C locale, which holds ASCII alone.
  EXPECT_STREQ(Utility::get_value_string(accented), "a?b");
  EXPECT_STREQ(Utility::get_value_string(beyondBmp), "x?y");
  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  const std::string narrow = Utility::get_value_string(accented);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(narrow,
            "a\xc3\xa9"
            "b");
}

TEST(ColumnBinding, EachCodeBindsItsKindAndAnEmptyTextBindsNull) {
  qmxdao::test::TempShop shop(qmxdao::test::TempShop::Layout::kEmptyDbFolder);
  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), L"");  // a new plain file
  db.execDML(L"create table T (ID integer primary key, I, L, F, S)");
  CppSQLite3Statement insert = db.compileStatement(L"insert into T values (?, ?, ?, ?, ?)");
  const auto row = [&](const std::wstring& id, const std::vector<ColumnValue>& values) {
    Utility::sqlite_statement_bind(&insert, 1, {id, domain::type_int64});
    for (int i = 0; i < 4; ++i) Utility::sqlite_statement_bind(&insert, i + 2, values[i]);
    insert.execDML();
    insert.reset();
  };
  // The float's text becomes the double nearest to it, not a float widened on the way.
  row(L"1",
      {ColumnValue(L"  -12abc", domain::type_int),
       ColumnValue(L"9000000000123", domain::type_int64), ColumnValue(L"0.1", domain::type_float),
       ColumnValue(L"caf\u00e9 \u4e2d", domain::type_text)});
  const std::wstring kinds = L"integer-12integer9000000000123real0.1text'caf\u00e9 \u4e2d'";
  // Codes without a rule bind nothing: each parameter keeps what was bound before.
  for (int code : {1, 2, 4, 7}) {
    row(std::to_wstring(10 + code), std::vector<ColumnValue>(4, {L"8", domain::data_type(code)}));
  }
  // Numbers without digits are zero; only the empty text, and the second form, bind NULL.
  const ColumnValue none(L"", domain::type_unused1);
  Utility::sqlite_statement_bind(&insert, 2);
  row(L"2", {none, ColumnValue(L"", domain::type_int64), ColumnValue(L"", domain::type_float),
             ColumnValue(L"", domain::type_text)});
  // A text holding a NUL is bound as the text it begins with.
  row(L"20", {none, none, none, ColumnValue(std::wstring(L"\u4e2d\0cd", 4), domain::type_text)});
  insert.finalize();

  CppSQLite3Query rows = db.execQuery(
      L"select group_concat(ID || ':' || typeof(I) || quote(I) || typeof(L) || quote(L) || "
      L"typeof(F) || quote(F) || typeof(S) || quote(S), ' ') from (select * from T order by ID)");
  EXPECT_EQ(rows.getStringField(0), L"1:" + kinds + L" 2:nullNULLinteger0real0.0nullNULL 11:" +
                                        kinds + L" 12:" + kinds + L" 14:" + kinds + L" 17:" +
                                        kinds + L" 20:nullNULLinteger0real0.0text'\u4e2d'");
  rows.finalize();
}

}  // namespace
