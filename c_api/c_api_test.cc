// The C boundary as a host of another compiler or language meets it: what it refuses, what a
// failure gives back, and that a bad record or a failing callback never leaves a batch
// half-written or a handle behind.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "qmxdao/c_api.h"
#include "testing/temp_shop.h"

namespace {

using qmxdao::test::TempShop;

std::wstring lastError() {
  const wchar_t* message = nullptr;
  size_t length = 0;
  qmxdao_last_error(&message, &length);
  return std::wstring(message, length);
}

int32_t columnOf(int32_t kind, const wchar_t* name) {
  int32_t count = 0;
  qmxdao_record_shape(kind, &count, nullptr);
  for (int32_t i = 0; i < count; ++i) {
    const wchar_t* column = nullptr;
    qmxdao_record_column(kind, i, &column, nullptr, nullptr);
    if (std::wstring(column) == name) return i;
  }
  throw std::logic_error("no such column");
}

// Customers as values: column ID, ORG and CUSTOMER_NAME set, the rest zero or empty.
struct Customers {
  explicit Customers(std::vector<std::wstring> names) : names_(std::move(names)) {
    qmxdao_record_shape(QMXDAO_CUSTOMER, &columns_, nullptr);
    values.assign(names_.size() * columns_, qmxdao_value{});
    for (size_t i = 0; i < names_.size(); ++i) {
      qmxdao_value* record = &values[i * columns_];
      record[columnOf(QMXDAO_CUSTOMER, L"ID")].integer = static_cast<int64_t>(i) + 1;
      record[columnOf(QMXDAO_CUSTOMER, L"ORG")] = {0, 0, L"shop", 4};
      record[columnOf(QMXDAO_CUSTOMER, L"CUSTOMER_NAME")] = {0, 0, names_[i].c_str(),
                                                             names_[i].size()};
    }
  }
  std::vector<qmxdao_value> values;

 private:
  std::vector<std::wstring> names_;
  int32_t columns_ = 0;
};

// A record sink that keeps each record's CUSTOMER_NAME and stops after `stopAfter` records.
struct NameSink {
  std::vector<std::wstring> names;
  size_t stopAfter = 1000;
  bool throws = false;
  static int32_t QMXDAO_CALL take(void* context, const qmxdao_value* values) {
    auto* sink = static_cast<NameSink*>(context);
    if (sink->throws) throw std::runtime_error("the host's callback failed");
    const qmxdao_value& name = values[columnOf(QMXDAO_CUSTOMER, L"CUSTOMER_NAME")];
    sink->names.emplace_back(name.text, name.length);
    return sink->names.size() >= sink->stopAfter ? 1 : 0;
  }
};

int64_t customerCount() {
  int64_t count = -1;
  EXPECT_EQ(qmxdao_dao_count(QMXDAO_CUSTOMER, 1, &count), QMXDAO_OK) << lastError();
  return count;
}

TEST(CBoundary, RefusesBadHandlesPointersKindsAndVersionsWithAStatusAndAMessage) {
  EXPECT_EQ(qmxdao_check_version(QMXDAO_C_API_VERSION), QMXDAO_OK);
  EXPECT_EQ(qmxdao_check_version(QMXDAO_C_API_VERSION + 1), QMXDAO_REFUSED);
  EXPECT_NE(lastError().find(L"newer"), std::wstring::npos) << lastError();

  EXPECT_EQ(qmxdao_db_close(nullptr), QMXDAO_REFUSED);
  EXPECT_NE(lastError().find(L"handle"), std::wstring::npos) << lastError();
  qmxdao_db* db = nullptr;
  ASSERT_EQ(qmxdao_db_new(&db), QMXDAO_OK);
  ASSERT_EQ(qmxdao_db_free(db), QMXDAO_OK);
  EXPECT_EQ(qmxdao_db_close(db), QMXDAO_REFUSED);  // released
  EXPECT_EQ(qmxdao_db_free(db), QMXDAO_REFUSED);   // and not released twice
  EXPECT_EQ(qmxdao_query_next_row(reinterpret_cast<qmxdao_query*>(db)), QMXDAO_REFUSED);

  int32_t changed = 0;
  EXPECT_EQ(qmxdao_exec_dml(nullptr, 3, QMXDAO_CUSTOMER, &changed), QMXDAO_REFUSED);
  EXPECT_NE(lastError().find(L"null pointer"), std::wstring::npos) << lastError();
  int64_t count = 0;
  EXPECT_EQ(qmxdao_dao_count(99, 1, &count), QMXDAO_REFUSED);
  EXPECT_EQ(qmxdao_dao_count(QMXDAO_ITEM, 0, &count), QMXDAO_REFUSED);  // customers only
  EXPECT_EQ(qmxdao_dao_write(QMXDAO_CUSTOMER, QMXDAO_MODIFY, nullptr, 0, &changed),
            QMXDAO_REFUSED);  // items only
  EXPECT_EQ(qmxdao_dao_find_by_id(QMXDAO_CUSTOMER, 1, nullptr, nullptr), QMXDAO_REFUSED);
}

TEST(CBoundary, BadRecordsAndFailingCallbacksStopTheCallAndStoreNothing) {
  TempShop shop(TempShop::Layout::kInstalled);
  int32_t done = -1;

  // A text with no characters but a length, in the last record of the batch.
  Customers bad({L"Ann", L"Bo", L"Cy"});
  bad.values[2 * (bad.values.size() / 3) + columnOf(QMXDAO_CUSTOMER, L"TEL")] = {0, 0, nullptr, 5};
  EXPECT_EQ(qmxdao_dao_write(QMXDAO_CUSTOMER, QMXDAO_SAVE, bad.values.data(), 3, &done),
            QMXDAO_REFUSED);
  EXPECT_EQ(customerCount(), 0);

  Customers good({L"Ann", L"Bo", L"Cy"});
  ASSERT_EQ(qmxdao_dao_write(QMXDAO_CUSTOMER, QMXDAO_SAVE, good.values.data(), 3, &done), QMXDAO_OK)
      << lastError();
  EXPECT_EQ(done, 1);
  EXPECT_EQ(qmxdao_dao_write(QMXDAO_CUSTOMER, QMXDAO_SAVE, nullptr, 0, &done), QMXDAO_OK);
  EXPECT_EQ(done, 0);  // an empty batch
  EXPECT_EQ(customerCount(), 3);

  const std::wstring sql = L"select * from CUSTOMER order by ID";
  NameSink all;
  ASSERT_EQ(
      qmxdao_dao_find_by_sql(QMXDAO_CUSTOMER, 1, sql.c_str(), sql.size(), &NameSink::take, &all),
      QMXDAO_OK);
  EXPECT_EQ(all.names, (std::vector<std::wstring>{L"Ann", L"Bo", L"Cy"}));

  NameSink first;
  first.stopAfter = 1;
  EXPECT_EQ(
      qmxdao_dao_find_by_sql(QMXDAO_CUSTOMER, 1, sql.c_str(), sql.size(), &NameSink::take, &first),
      QMXDAO_CALLBACK_FAILED);
  EXPECT_EQ(first.names.size(), 1u);
  NameSink throwing;
  throwing.throws = true;
  EXPECT_EQ(qmxdao_dao_find_by_id(QMXDAO_CUSTOMER, 1, &NameSink::take, &throwing),
            QMXDAO_CALLBACK_FAILED);

  NameSink missing;
  ASSERT_EQ(qmxdao_dao_find_by_id(QMXDAO_CUSTOMER, 42, &NameSink::take, &missing), QMXDAO_OK);
  EXPECT_EQ(missing.names, std::vector<std::wstring>{L""});  // a new record
}

TEST(CBoundary, EngineCodesComeBackAndAConnectionReleasesWhatWasMadeFromIt) {
  TempShop shop(TempShop::Layout::kInstalled);
  const std::wstring path = shop.mainFile().wstring();
  qmxdao_db* db = nullptr;
  ASSERT_EQ(qmxdao_db_new(&db), QMXDAO_OK);
  EXPECT_EQ(qmxdao_db_open(db, path.c_str(), path.size(), L"wrong", 5), 26);
  EXPECT_NE(lastError().find(L"not a database"), std::wstring::npos) << lastError();
  ASSERT_EQ(qmxdao_db_free(db), QMXDAO_OK);

  ASSERT_EQ(qmxdao_db_connection(&db), QMXDAO_OK) << lastError();
  qmxdao_statement* insert = nullptr;
  const std::wstring sql = L"insert into CUSTOMER (ID, ORG, CUSTOMER_NAME) values (?, ?, ?)";
  ASSERT_EQ(qmxdao_db_compile_statement(db, sql.c_str(), sql.size(), &insert), QMXDAO_OK);
  int32_t changed = 0;
  EXPECT_EQ(qmxdao_statement_bind_int64(insert, 1, 7), QMXDAO_OK);
  EXPECT_EQ(qmxdao_statement_bind_text(insert, 2, L"shop", 4), QMXDAO_OK);
  EXPECT_EQ(qmxdao_statement_bind_text(insert, 3, nullptr, 0), QMXDAO_OK);  // NULL
  EXPECT_EQ(qmxdao_statement_exec_dml(insert, &changed), QMXDAO_OK) << lastError();
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(qmxdao_statement_exec_dml(insert, &changed), 19);  // the same ID again

  qmxdao_query* query = nullptr;
  const std::wstring select = L"select ID, CUSTOMER_NAME from CUSTOMER";
  ASSERT_EQ(qmxdao_db_exec_query(db, select.c_str(), select.size(), &query), QMXDAO_OK);
  int64_t id = 0;
  const wchar_t* name = L"unset";
  EXPECT_EQ(qmxdao_query_int64_field(query, 0, -1, &id), QMXDAO_OK);
  EXPECT_EQ(qmxdao_query_field_value(query, 1, &name, nullptr), QMXDAO_OK);
  EXPECT_EQ(id, 7);
  EXPECT_EQ(name, nullptr);
  EXPECT_EQ(qmxdao_query_float_field(query, 0, 0, nullptr), QMXDAO_REFUSED);

  EXPECT_EQ(qmxdao_query_next_row(reinterpret_cast<qmxdao_query*>(insert)), QMXDAO_REFUSED);

  // Releasing the connection releases its statement and query (the sanitizers see any leak).
  ASSERT_EQ(qmxdao_db_free(db), QMXDAO_OK);
  EXPECT_EQ(qmxdao_statement_reset(insert), QMXDAO_REFUSED);
  EXPECT_EQ(qmxdao_query_free(query), QMXDAO_REFUSED);
}

}  // namespace
