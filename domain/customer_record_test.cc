// The customer record as data: its column values and their texts, the INSERT and UPDATE texts
// built from them, the setters and the row reader with their column groups, and the copy that
// keeps the stored SUBMIT flag. A float column is bound without its text: the double bound must
// equal bit for bit what "%f" written and read back gives, or stored prices and amounts change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "domain/float_text.h"
#include "domain/statement_text.h"
#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/Customer.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "storage/text_numbers.h"
#include "testing/temp_shop.h"

namespace {

using QMXDataDomain::___CUSTOMER;
using QMXDataDomain::ColumnValueMap;
namespace domain = QMXDataDomain;

ColumnValueMap valuesOf(const ___CUSTOMER& customer) {
  ColumnValueMap values;
  customer.getColumnValues(values);
  return values;
}

TEST(CustomerRecord, ColumnValuesRenderEachFieldByItsKind) {
  ___CUSTOMER c;
  c.ID = 9000000000123LL;
  c.INTEGRAL = -3.25f;
  c.JAWBONEMONEY = 0.1234567f;
  c.SUBMIT = -5;
  c.EXT1 = L"\u5f20\u4e09";
  const ColumnValueMap values = valuesOf(c);
  EXPECT_EQ(values.size(), 26u);
  std::wstring shown;  // name=text:code
  for (const wchar_t* name :
       {L"ORG", L"ID", L"INTEGRAL", L"JAWBONEMONEY", L"SUBMIT", L"DEL_FLAG", L"EXT1", L"EXT10"}) {
    shown += name + (L"=" + values.at(name).first) + L":" +
             std::to_wstring(values.at(name).second) + L" ";
  }
  EXPECT_EQ(shown,
            L"ORG=:6 ID=9000000000123:3 INTEGRAL=-3.250000:5 JAWBONEMONEY=0.123457:5 "
            L"SUBMIT=-5:0 DEL_FLAG=0:0 EXT1=\u5f20\u4e09:6 EXT10=:6 ");
  c.INTEGRAL = 3.0e38f;  // fixed notation, no exponent: 39 digits and six decimals
  EXPECT_EQ(valuesOf(c).at(L"INTEGRAL").first.size(), 39u + 7u);
}

TEST(StatementText, ExactTextsInTheGivenColumnOrder) {
  EXPECT_EQ(qmxdao::insertSql(L"T", {L"X", L"Y", L"Z"}), L"INSERT INTO T (X,Y,Z) VALUES (?,?,?);");
  EXPECT_EQ(qmxdao::insertSql(L"T", {L"ID"}), L"INSERT INTO T (ID) VALUES (?);");
  // ID, wherever it stands, and only the exact name "ID", goes to the WHERE clause.
  for (std::vector<const wchar_t*> columns :
       {std::vector<const wchar_t*>{L"X", L"ID", L"Y"}, {L"ID", L"X", L"Y"}, {L"X", L"Y", L"ID"}}) {
    EXPECT_EQ(qmxdao::updateSql(L"T", columns), L"UPDATE T  SET X = ? ,Y = ?   WHERE ID = ?;");
  }
  EXPECT_EQ(qmxdao::updateSql(L"T", {L"Id", L"ID", L"UID"}),
            L"UPDATE T  SET Id = ? ,UID = ?   WHERE ID = ?;");

  // A record's INSERT names its columns in the iteration order of its column values.
  const ___CUSTOMER customer;
  const ColumnValueMap values = valuesOf(customer);
  std::wstring names, insert;
  for (const auto& entry : values) names += (names.empty() ? L"" : L",") + entry.first;
  customer.buildInsertSql(values, insert);
  EXPECT_EQ(insert.substr(0, 23 + names.size()), L"INSERT INTO CUSTOMER (" + names + L")");
  customer.buildUpdateSql(values, insert);
  EXPECT_EQ(insert.substr(insert.size() - 16), L"   WHERE ID = ?;");
}

TEST(CustomerRecord, SettersAndTheRowReaderTakeOnlyTheExactNamesOfTheirGroup) {
  ___CUSTOMER c;
  c.setTextField(L"EXT1", L"one");
  c.setIntField(L"SUBMIT", 3);
  c.setFloatField(L"INTEGRAL", 0.1);
  ___CUSTOMER expected;
  expected.EXT1 = L"one";
  expected.SUBMIT = 3;
  expected.INTEGRAL = 0.1f;
  for (const wchar_t* name : {L"SUBMIT", L"INTEGRAL", L"ID", L"org", L"ORG ", L"NOPE", L"EXT"}) {
    c.setTextField(name, L"9");
  }
  for (const wchar_t* name : {L"ID", L"INTEGRAL", L"TEL", L"submit"}) c.setIntField(name, 9);
  for (const wchar_t* name : {L"SUBMIT", L"ID", L"ORG"}) c.setFloatField(name, 9.0);

  // The reader takes each field of a real result row by the code given for it; a column the row
  // lacks keeps its value, and so does one read with a code of another group.
  qmxdao::test::TempShop shop(qmxdao::test::TempShop::Layout::kEmptyDbFolder);
  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), L"");  // a new plain file
  CppSQLite3Query query = db.execQuery(
      L"select 9000000000 as ID, 0.1 as JAWBONEMONEY, NULL as DEL_FLAG, 'o' as ORG, NULL as TEL, "
      L"'x' as EXTRA, 5 as IDCARD");
  c.TEL = L"old";
  c.DEL_FLAG = 4;
  const domain::data_type codes[] = {domain::type_int64, domain::type_float, domain::type_int,
                                     domain::type_text,  domain::type_text,  domain::type_int,
                                     domain::type_text};
  for (int field = 0; field < 7; ++field) c.readField(query, field, codes[field]);
  c.readField(query, 3, domain::type_int);
  c.readField(query, 0, domain::type_float);
  query.finalize();
  expected.ID = 9000000000LL;
  expected.JAWBONEMONEY = 0.1f;  // narrowed from the stored double
  expected.ORG = L"o";
  expected.IDCARD = L"5";
  EXPECT_EQ(valuesOf(c), valuesOf(expected));
}

TEST(CustomerRecord, CopiesTakeEveryFieldButAssignmentKeepsSubmit) {
  ___CUSTOMER source;
  source.ID = 5;
  source.SUBMIT = 1;
  source.EXT10 = L"ten";
  ___CUSTOMER copy(source);
  const ___CUSTOMER moved(std::move(copy));
  EXPECT_EQ(valuesOf(moved), valuesOf(source));
  ___CUSTOMER stored;
  stored.SUBMIT = 2;
  stored.TEL = L"old";
  stored = source;
  EXPECT_EQ(stored.SUBMIT, 2);
  stored.SUBMIT = source.SUBMIT;
  EXPECT_EQ(valuesOf(stored), valuesOf(source));
}

TEST(SixDecimals, SameDoubleAsTheValueTextForEveryKindOfFloat) {
  long long checked = 0, differing = 0;
  const auto check = [&](float value) {
    if (!std::isfinite(value)) return;
    ++checked;
    wchar_t text[64];
    std::swprintf(text, 64, L"%f", static_cast<double>(value));
    const double fast = qmxdao::sixDecimals(value), slow = qmxdao::toDouble(text);
    if (std::memcmp(&fast, &slow, sizeof fast) != 0 && ++differing <= 5) {
      ADD_FAILURE() << std::hexfloat << value << ": " << fast << " against " << slow;
    }
  };
  const auto checkBits = [&](std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    check(value);
  };
  // Every exponent and sign, with the mantissas at its boundaries and those with few significant
  // bits (values halfway between two six-decimal texts, such as 1/128, are among them).
  for (std::uint32_t high = 0; high < 512; ++high) {
    for (std::uint32_t top = 0; top < 512; ++top) {
      for (std::uint32_t low : {0u, 1u, 0x3FFFu}) checkBits(high << 23 | top << 14 | low);
    }
  }
  // The prices a shop writes (the floats nearest whole thousandths) and a sample of all patterns.
  for (int thousandths = 0; thousandths <= 2000000; thousandths += 7) {
    check(static_cast<float>(thousandths / 1000.0));
  }
  for (std::uint32_t i = 0, state = 12345; i < (1u << 20); ++i) {
    checkBits(state = state * 1664525u + 1013904223u);
  }
  EXPECT_GT(checked, 1000000);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(qmxdao::sixDecimals(-INFINITY), -std::numeric_limits<double>::infinity());
}

}  // namespace
