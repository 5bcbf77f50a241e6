// The customer record as data: its column values and their texts, the setters and the row
// reader with their column groups, and the copy rules the batch save relies on.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/Customer.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "testing/temp_shop.h"

namespace {

using qmxdao::test::TempShop;
using QMXDataDomain::___CUSTOMER;
using QMXDataDomain::ColumnValue;
using QMXDataDomain::ColumnValueMap;
using QMXDataDomain::type_float;
using QMXDataDomain::type_int;
using QMXDataDomain::type_int64;
using QMXDataDomain::type_text;

ColumnValueMap valuesOf(const ___CUSTOMER& customer) {
  ColumnValueMap values;
  customer.getColumnValues(values);
  return values;
}

// A customer with a distinct value in every field.
___CUSTOMER sample() {
  ___CUSTOMER c;
  c.ID = 9000000000123LL;
  c.INTEGRAL = 12.5f;
  c.CREATE_USER = L"clerk";
  c.CREATE_TIME = L"2015-03-07 09:05:01";
  c.UPDATE_TIME = L"2015-03-08 10:00:00";
  c.JAWBONEMONEY = 0.1234567f;
  c.TEL = L"010-1234";
  c.CARDNUM = L"card";
  c.CUSTOMER_NAME = L"\u5f20\u4e09";
  c.SIMPLE_NAME = L"zs";
  c.ADDR = L"addr";
  c.MOBILE = L"138";
  c.SUBMIT = -5;
  c.DEL_FLAG = 1;
  c.ORG = L"shop";
  c.IDCARD = L"id";
  c.EXT10 = L"e10";
  c.EXT9 = L"e9";
  c.EXT8 = L"e8";
  c.EXT7 = L"e7";
  c.EXT6 = L"e6";
  c.EXT5 = L"e5";
  c.EXT4 = L"e4";
  c.EXT3 = L"e3";
  c.EXT2 = L"e2";
  c.EXT1 = L"e1";
  return c;
}

TEST(CustomerRecord, ColumnValuesRenderEachFieldByItsKind) {
  ___CUSTOMER c = sample();
  EXPECT_EQ(c.getTableName(), L"CUSTOMER");

  ColumnValueMap values = valuesOf(c);
  ASSERT_EQ(values.size(), 26u);
  EXPECT_EQ(values.at(L"ID"), ColumnValue(L"9000000000123", type_int64));
  EXPECT_EQ(values.at(L"INTEGRAL"), ColumnValue(L"12.500000", type_float));
  EXPECT_EQ(values.at(L"JAWBONEMONEY"), ColumnValue(L"0.123457", type_float));
  EXPECT_EQ(values.at(L"SUBMIT"), ColumnValue(L"-5", type_int));
  EXPECT_EQ(values.at(L"DEL_FLAG"), ColumnValue(L"1", type_int));
  EXPECT_EQ(values.at(L"CUSTOMER_NAME"), ColumnValue(L"\u5f20\u4e09", type_text));
  EXPECT_EQ(values.at(L"CREATE_TIME"), ColumnValue(L"2015-03-07 09:05:01", type_text));
  // Every other column is a text column holding its field unchanged.
  const wchar_t* texts[] = {L"CREATE_USER", L"UPDATE_TIME", L"TEL",  L"CARDNUM", L"SIMPLE_NAME",
                            L"ADDR",        L"MOBILE",      L"ORG",  L"IDCARD",  L"EXT10",
                            L"EXT9",        L"EXT8",        L"EXT7", L"EXT6",    L"EXT5",
                            L"EXT4",        L"EXT3",        L"EXT2", L"EXT1"};
  for (const wchar_t* name : texts) {
    ASSERT_EQ(values.count(name), 1u) << name;
    EXPECT_EQ(values.at(name).second, type_text) << name;
  }
  EXPECT_EQ(values.at(L"EXT10").first, L"e10");
  EXPECT_EQ(values.at(L"EXT1").first, L"e1");
  EXPECT_EQ(values.at(L"MOBILE").first, L"138");

  c.INTEGRAL = -3.25f;
  c.JAWBONEMONEY = 0.0f;
  c.ID = -7;
  c.TEL.clear();
  values = valuesOf(c);
  EXPECT_EQ(values.at(L"INTEGRAL").first, L"-3.250000");
  EXPECT_EQ(values.at(L"JAWBONEMONEY").first, L"0.000000");
  EXPECT_EQ(values.at(L"ID").first, L"-7");
  EXPECT_EQ(values.at(L"TEL").first, L"");

  ___CUSTOMER large;
  large.INTEGRAL = 3.0e38f;  // fixed notation, no exponent
  std::wstring text = valuesOf(large).at(L"INTEGRAL").first;
  EXPECT_EQ(text.find(L'e'), std::wstring::npos);
  EXPECT_EQ(text.size(), 39u + 7u);
}

TEST(CustomerRecord, SecondInsertionOfANameKeepsTheFirst) {
  ColumnValueMap values;
  values.emplace(L"ORG", ColumnValue(L"first", type_int));
  sample().getColumnValues(values);
  EXPECT_EQ(values.size(), 26u);
  EXPECT_EQ(values.at(L"ORG"), ColumnValue(L"first", type_int));
  EXPECT_EQ(values.at(L"TEL").first, L"010-1234");
}

TEST(CustomerRecord, SettersTakeOnlyTheColumnsOfTheirGroup) {
  ___CUSTOMER c;
  c.setTextField(L"ORG", L"shop");
  c.setTextField(L"EXT10", L"ten");
  c.setIntField(L"SUBMIT", 3);
  c.setIntField(L"DEL_FLAG", -1);
  c.setFloatField(L"INTEGRAL", 0.1);
  c.setFloatField(L"JAWBONEMONEY", 2.5);
  EXPECT_EQ(c.ORG, L"shop");
  EXPECT_EQ(c.EXT10, L"ten");
  EXPECT_EQ(c.SUBMIT, 3);
  EXPECT_EQ(c.DEL_FLAG, -1);
  EXPECT_EQ(c.INTEGRAL, 0.1f);
  EXPECT_EQ(c.JAWBONEMONEY, 2.5f);

  // Names outside a setter's group, in another case or of no column change nothing.
  const ColumnValueMap before = valuesOf(c);
  c.setTextField(L"SUBMIT", L"9");
  c.setTextField(L"INTEGRAL", L"9");
  c.setTextField(L"ID", L"9");
  c.setTextField(L"org", L"other");
  c.setTextField(L"ORG ", L"other");
  c.setTextField(L"NOPE", L"x");
  c.setIntField(L"ID", 9);
  c.setIntField(L"INTEGRAL", 9);
  c.setIntField(L"TEL", 9);
  c.setIntField(L"submit", 9);
  c.setFloatField(L"SUBMIT", 9.0);
  c.setFloatField(L"ID", 9.0);
  c.setFloatField(L"ORG", 9.0);
  EXPECT_EQ(valuesOf(c), before);
}

// Reads every column of the current row as the data-access operations do: by the code of a
// default record's column values, a name the record lacks being read as code 0.
void readRow(___CUSTOMER& c, CppSQLite3Query& query) {
  ColumnValueMap types = valuesOf(___CUSTOMER());
  for (int field = 0; field < query.numFields(); ++field) {
    auto found = types.emplace(query.fieldName(field), ColumnValue(L"", type_int)).first;
    c.readField(query, field, found->second.second);
  }
}

TEST(CustomerRecord, ReadFieldFillsTheRecordFromAResultRow) {
  TempShop shop;
  CppSQLite3DB db;
  db.open(shop.mainFile().wstring().c_str(), L"");

  ___CUSTOMER c = sample();
  c.MOBILE = L"unchanged";
  CppSQLite3Query query = db.execQuery(
      L"select 9000000000 as ID, 0.1 as INTEGRAL, 7 as SUBMIT, NULL as DEL_FLAG, 'o' as ORG, "
      L"NULL as TEL, 'x' as EXTRA, 42 as NOTE, 1.5 as JAWBONEMONEY, 'n' as CUSTOMER_NAME");
  ASSERT_FALSE(query.eof());
  readRow(c, query);
  query.finalize();

  EXPECT_EQ(c.ID, 9000000000LL);
  EXPECT_EQ(c.INTEGRAL, 0.1f);  // narrowed from the stored double
  EXPECT_EQ(c.JAWBONEMONEY, 1.5f);
  EXPECT_EQ(c.SUBMIT, 7);
  EXPECT_EQ(c.DEL_FLAG, 0);
  EXPECT_EQ(c.ORG, L"o");
  EXPECT_EQ(c.TEL, L"");
  EXPECT_EQ(c.CUSTOMER_NAME, L"n");
  // Columns the result lacks, and result columns the record lacks, leave the rest alone.
  ___CUSTOMER expected = sample();
  expected.MOBILE = L"unchanged";
  ColumnValueMap got = valuesOf(c);
  ColumnValueMap want = valuesOf(expected);
  for (const wchar_t* read : {L"ID", L"INTEGRAL", L"JAWBONEMONEY", L"SUBMIT", L"DEL_FLAG", L"ORG",
                              L"TEL", L"CUSTOMER_NAME"}) {
    got.erase(read);
    want.erase(read);
  }
  EXPECT_EQ(got, want);

  // A code that disagrees with the column's setter is ignored.
  ___CUSTOMER d;
  CppSQLite3Query other = db.execQuery(L"select 'text' as ORG, 5 as SUBMIT, 8 as ID");
  d.readField(other, 0, type_int);
  d.readField(other, 1, type_text);
  d.readField(other, 2, type_float);
  d.readField(other, 1, static_cast<QMXDataDomain::data_type>(4));
  other.finalize();
  EXPECT_EQ(valuesOf(d), valuesOf(___CUSTOMER()));
}

TEST(CustomerRecord, CopiesAndTheMergeThatKeepsSubmit) {
  ___CUSTOMER source = sample();
  source.SUBMIT = 1;

  ___CUSTOMER copy(source);
  EXPECT_EQ(valuesOf(copy), valuesOf(source));

  ___CUSTOMER stored;
  stored.SUBMIT = 2;
  stored.TEL = L"old";
  stored = source;
  EXPECT_EQ(stored.SUBMIT, 2);
  stored.SUBMIT = source.SUBMIT;
  EXPECT_EQ(valuesOf(stored), valuesOf(source));

  ___CUSTOMER self = sample();
  ___CUSTOMER& alias = self;
  self = alias;
  EXPECT_EQ(valuesOf(self), valuesOf(sample()));

  ___CUSTOMER moved(std::move(copy));
  EXPECT_EQ(valuesOf(moved), valuesOf(source));

  ___CUSTOMER fresh;
  EXPECT_EQ(fresh.ID, 0);
  EXPECT_EQ(fresh.INTEGRAL, 0.0f);
  EXPECT_EQ(fresh.JAWBONEMONEY, 0.0f);
  EXPECT_EQ(fresh.SUBMIT, 0);
  EXPECT_EQ(fresh.DEL_FLAG, 0);
  for (const auto& entry : valuesOf(fresh)) {
    if (entry.second.second == type_text) {
      EXPECT_EQ(entry.second.first, L"") << entry.first;
    }
  }
}

}  // namespace
