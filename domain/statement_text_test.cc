// The INSERT and UPDATE texts built from one walk over a record's column values, and the binding
// of a column value by its data_type code, read back from a real file.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "domain/statement_text.h"
#include "qmxdao/domain/ColumnValueMap.h"
#include "qmxdao/domain/Customer.h"
#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "testing/temp_shop.h"

namespace {

using QMXDAO::Utility;
using qmxdao::test::TempShop;
using QMXDataDomain::___CUSTOMER;
using QMXDataDomain::ColumnValueMap;
using QMXDataDomain::data_type;

std::size_t occurrences(const std::wstring& text, const std::wstring& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(StatementText, ExactTextsForAGivenColumnOrder) {
  EXPECT_EQ(qmxdao::insertSql(L"T", {L"X", L"Y", L"Z"}), L"INSERT INTO T (X,Y,Z) VALUES (?,?,?);");
  EXPECT_EQ(qmxdao::insertSql(L"T", {L"ID"}), L"INSERT INTO T (ID) VALUES (?);");
  EXPECT_EQ(qmxdao::insertSql(L"T", {L"ID", L"X"}), L"INSERT INTO T (ID,X) VALUES (?,?);");

  // Three blanks before WHERE: the last assignment's own blank and the tail's two.
  EXPECT_EQ(qmxdao::updateSql(L"T", {L"X", L"ID", L"Y"}),
            L"UPDATE T  SET X = ? ,Y = ?   WHERE ID = ?;");
  EXPECT_EQ(qmxdao::updateSql(L"T", {L"ID", L"X", L"Y"}),
            L"UPDATE T  SET X = ? ,Y = ?   WHERE ID = ?;");
  EXPECT_EQ(qmxdao::updateSql(L"T", {L"X", L"Y", L"ID"}),
            L"UPDATE T  SET X = ? ,Y = ?   WHERE ID = ?;");
  // Only the exact name "ID" is the key.
  EXPECT_EQ(qmxdao::updateSql(L"T", {L"Id", L"ID", L"UID"}),
            L"UPDATE T  SET Id = ? ,UID = ?   WHERE ID = ?;");
}

TEST(StatementText, CustomerTextsFollowTheIterationOrderOfItsColumnValues) {
  ___CUSTOMER customer;
  ColumnValueMap values;
  customer.getColumnValues(values);
  ASSERT_EQ(values.size(), 26u);

  std::vector<const wchar_t*> order = qmxdao::columnOrder(values);
  ASSERT_EQ(order.size(), values.size());
  std::wstring names;
  std::wstring marks;
  std::wstring assignments;
  for (const auto& entry : values) {
    if (!names.empty()) names += L",";
    names += entry.first;
    marks += marks.empty() ? L"?" : L",?";
    if (entry.first == L"ID") continue;
    if (!assignments.empty()) assignments += L",";
    assignments += entry.first + L" = ? ";
  }

  std::wstring insert;
  customer.buildInsertSql(values, insert);
  EXPECT_EQ(insert, L"INSERT INTO CUSTOMER (" + names + L") VALUES (" + marks + L");");
  EXPECT_EQ(occurrences(insert, L"?"), 26u);
  EXPECT_NE(insert.find(L"ID,"), std::wstring::npos);

  std::wstring update;
  customer.buildUpdateSql(values, update);
  EXPECT_EQ(update, L"UPDATE CUSTOMER  SET " + assignments + L"  WHERE ID = ?;");
  EXPECT_EQ(occurrences(update, L"= ?"), 26u);  // 25 in SET, one in WHERE
  EXPECT_EQ(occurrences(update, L"ID = ?"), 1u);
  EXPECT_EQ(update.find(L",ID = ? "), std::wstring::npos);
  EXPECT_EQ(update.find(L" ID = ? ,"), std::wstring::npos);
}

// A one-row table with one column of each kind, written through a statement that binds every
// column with Utility::sqlite_statement_bind.
class ColumnBinding : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.open(shop_.mainFile().wstring().c_str(), L"");
    db_.execDML(L"create table T (ID integer primary key, I integer, L integer, F real, S text)");
  }

  // typeof() and the text of each column of the row with ID 1.
  std::vector<std::wstring> storedRow(const wchar_t* column) {
    std::wstring sql =
        std::wstring(L"select typeof(") + column + L"), " + column + L" from T where ID = 1";
    CppSQLite3Query query = db_.execQuery(sql.c_str());
    EXPECT_FALSE(query.eof());
    std::vector<std::wstring> row = {query.getStringField(0), query.getStringField(1, L"<null>")};
    query.finalize();
    return row;
  }

  TempShop shop_;
  CppSQLite3DB db_;
};

TEST_F(ColumnBinding, EachCodeBindsItsKind) {
  CppSQLite3Statement insert = db_.compileStatement(L"insert into T values (1, ?, ?, ?, ?)");
  Utility::sqlite_statement_bind(&insert, 1, {L"  -12abc", QMXDataDomain::type_int});
  Utility::sqlite_statement_bind(&insert, 2, {L"9000000000123", QMXDataDomain::type_int64});
  Utility::sqlite_statement_bind(&insert, 3, {L"0.1", QMXDataDomain::type_float});
  Utility::sqlite_statement_bind(&insert, 4, {L"caf\u00e9 \u4e2d", QMXDataDomain::type_text});
  insert.execDML();
  insert.finalize();

  EXPECT_EQ(storedRow(L"I"), (std::vector<std::wstring>{L"integer", L"-12"}));
  EXPECT_EQ(storedRow(L"L"), (std::vector<std::wstring>{L"integer", L"9000000000123"}));
  EXPECT_EQ(storedRow(L"F")[0], L"real");
  EXPECT_EQ(storedRow(L"S"), (std::vector<std::wstring>{L"text", L"caf\u00e9 \u4e2d"}));

  // The float's text becomes the double nearest to it, not a float widened on the way.
  CppSQLite3Query query = db_.execQuery(L"select F from T where ID = 1");
  EXPECT_EQ(query.getFloatField(0), 0.1);
  query.finalize();
}

TEST_F(ColumnBinding, EmptyTextAndTheSecondFormBindNull) {
  CppSQLite3Statement insert = db_.compileStatement(L"insert into T values (1, ?, ?, ?, ?)");
  Utility::sqlite_statement_bind(&insert, 1, {L"5", QMXDataDomain::type_int});
  Utility::sqlite_statement_bind(&insert, 1);
  Utility::sqlite_statement_bind(&insert, 2, {L"", QMXDataDomain::type_int64});
  Utility::sqlite_statement_bind(&insert, 3, {L"", QMXDataDomain::type_float});
  Utility::sqlite_statement_bind(&insert, 4, {L"", QMXDataDomain::type_text});
  insert.execDML();
  insert.finalize();

  EXPECT_EQ(storedRow(L"I")[0], L"null");
  // Numbers without digits convert to zero; only the empty text is NULL.
  EXPECT_EQ(storedRow(L"L"), (std::vector<std::wstring>{L"integer", L"0"}));
  EXPECT_EQ(storedRow(L"F"), (std::vector<std::wstring>{L"real", L"0.0"}));
  EXPECT_EQ(storedRow(L"S")[0], L"null");
}

TEST_F(ColumnBinding, CodesWithoutARuleBindNothingAndATextEndsAtItsFirstNul) {
  // Nothing means nothing: the parameter keeps what a reused statement bound before.
  CppSQLite3Statement reused = db_.compileStatement(L"insert into T (ID, S) values (?, ?)");
  Utility::sqlite_statement_bind(&reused, 1, {L"10", QMXDataDomain::type_int64});
  Utility::sqlite_statement_bind(&reused, 2, {L"kept", QMXDataDomain::type_text});
  reused.execDML();
  reused.reset();
  for (int code : {1, 2, 4, 7}) {
    Utility::sqlite_statement_bind(&reused, 1,
                                   {std::to_wstring(10 + code), QMXDataDomain::type_int64});
    Utility::sqlite_statement_bind(&reused, 2, {L"other", static_cast<data_type>(code)});
    reused.execDML();
    reused.reset();
  }
  // A text holding a NUL is bound as the NUL-terminated text it begins with.
  Utility::sqlite_statement_bind(&reused, 1, {L"20", QMXDataDomain::type_int64});
  Utility::sqlite_statement_bind(&reused, 2,
                                 {std::wstring(L"ab\0cd\u00e9", 6), QMXDataDomain::type_text});
  reused.execDML();
  reused.reset();
  Utility::sqlite_statement_bind(&reused, 1, {L"21", QMXDataDomain::type_int64});
  Utility::sqlite_statement_bind(&reused, 2,
                                 {std::wstring(L"\u4e2d\0cd", 4), QMXDataDomain::type_text});
  reused.execDML();
  reused.finalize();
  CppSQLite3Query rows =
      db_.execQuery(L"select group_concat(S, '|') from (select S from T order by ID)");
  EXPECT_STREQ(rows.getStringField(0), L"kept|kept|kept|kept|kept|ab|\u4e2d");
  rows.finalize();
}

}  // namespace
