// The customer's batch save and read-back in a keyed file, each beside the same work written
// straight against SQLCipher: one connection with the raw key, one transaction, the natural-key
// lookup "select * from CUSTOMER where ORG=? and ID=?" and one INSERT or UPDATE of all 26 columns,
// each compiled once and reused, with the values and stamps the library would write. The gap
// between a pair is the library's own cost for the same rows.
//
//   SaveNew        1,000, 10,000 and 100,000 new customers (ID 0) into an empty table
//   SaveExisting   10,000 again, now stored, each with one field changed: every record is an
//                  update
//   FindAll        findBySQL("select * from CUSTOMER") over those 10,000 rows
//   FindById       1,000 findById calls over those rows, each on its own connection
//   SearchBySQL    Utility::SearchBySQL("select * from CUSTOMER"): 10,000 rows as maps
//   SaveNewLarge   SaveNew into a table that already holds 1,000,000 customers
#include <benchmark/benchmark.h>
#include <utf8.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_shop.h"
#include "qmxdao/dao/CustomerDAOImpl.h"
#include "qmxdao/domain/Customer.h"
#include "qmxdao/storage/Utility.h"

namespace {

using qmxbench::check;
using qmxbench::fromUtf8;
using qmxbench::RawDb;
using qmxbench::rawShop;
using qmxbench::RawStatement;
using qmxbench::timedInMilliseconds;
using QMXDataDomain::___CUSTOMER;

constexpr int kCustomers = 10000;
constexpr int kMostCustomers = 100000;
constexpr long long kLargeTable = 1000000;
constexpr int kOrgs = 10;  // the saved customers belong to a few shops

// --- Input -------------------------------------------------------------------------------------

std::wstring orgName(long long n) {
  wchar_t text[16];
  std::swprintf(text, 16, L"shop%02lld", n % 100);
  return text;
}

// kMostCustomers customers with every field filled (but CREATE_TIME, which the save stamps), as
// a shop's import would bring them.
const std::vector<___CUSTOMER>& allNewCustomers() {
  static const std::vector<___CUSTOMER> customers = [] {
    std::vector<___CUSTOMER> list(kMostCustomers);
    for (int i = 0; i < kMostCustomers; ++i) {
      ___CUSTOMER& c = list[i];
      const std::wstring n = std::to_wstring(i);
      c.ORG = orgName(i % kOrgs);
      c.INTEGRAL = static_cast<float>(i % 1000) * 0.5f;
      c.JAWBONEMONEY = static_cast<float>(i % 500) * 1.25f;
      c.CREATE_USER = L"admin";
      c.TEL = L"010-" + n;
      c.CARDNUM = L"CARD" + n;
      c.CUSTOMER_NAME = L"\u987e\u5ba2 " + n;
      c.SIMPLE_NAME = L"gk" + n;
      c.ADDR = L"No. " + n + L" Market Street";
      c.MOBILE = L"138" + n;
      c.SUBMIT = i % 2;
      c.IDCARD = L"1101" + n;
      c.EXT1 = L"e1-" + n;
      c.EXT2 = L"e2-" + n;
      c.EXT3 = L"e3";
    }
    return list;
  }();
  return customers;
}

// The first count of them.
std::vector<___CUSTOMER> newCustomers(int count = kCustomers) {
  return std::vector<___CUSTOMER>(allNewCustomers().begin(), allNewCustomers().begin() + count);
}

// The customers that the save of newCustomers into an empty table stored, each with its
// telephone number changed.
const std::vector<___CUSTOMER>& changedCustomers() {
  static const std::vector<___CUSTOMER> customers = [] {
    std::vector<___CUSTOMER> list = newCustomers();
    for (std::size_t i = 0; i < list.size(); ++i) {
      list[i].ID = static_cast<long long>(i) + 1;
      list[i].TEL += L"-2";
    }
    return list;
  }();
  return customers;
}

// --- SQLCipher directly ------------------------------------------------------------------------

// The columns in the table's (and the struct's) order, as "select *" returns them.
struct RawColumn {
  const char* name;
  long long ___CUSTOMER::*int64 = nullptr;
  int ___CUSTOMER::*int32 = nullptr;
  float ___CUSTOMER::*real = nullptr;
  std::wstring ___CUSTOMER::*text = nullptr;
};

RawColumn textColumn(const char* name, std::wstring ___CUSTOMER::*member) {
  RawColumn column{name};
  column.text = member;
  return column;
}

const std::vector<RawColumn>& rawColumns() {
  static const std::vector<RawColumn> columns = [] {
    RawColumn id{"ID"};
    id.int64 = &___CUSTOMER::ID;
    RawColumn integral{"INTEGRAL"};
    integral.real = &___CUSTOMER::INTEGRAL;
    RawColumn money{"JAWBONEMONEY"};
    money.real = &___CUSTOMER::JAWBONEMONEY;
    RawColumn submit{"SUBMIT"};
    submit.int32 = &___CUSTOMER::SUBMIT;
    RawColumn deleted{"DEL_FLAG"};
    deleted.int32 = &___CUSTOMER::DEL_FLAG;
    return std::vector<RawColumn>{
        id,
        integral,
        textColumn("CREATE_USER", &___CUSTOMER::CREATE_USER),
        textColumn("CREATE_TIME", &___CUSTOMER::CREATE_TIME),
        textColumn("UPDATE_TIME", &___CUSTOMER::UPDATE_TIME),
        money,
        textColumn("TEL", &___CUSTOMER::TEL),
        textColumn("CARDNUM", &___CUSTOMER::CARDNUM),
        textColumn("CUSTOMER_NAME", &___CUSTOMER::CUSTOMER_NAME),
        textColumn("SIMPLE_NAME", &___CUSTOMER::SIMPLE_NAME),
        textColumn("ADDR", &___CUSTOMER::ADDR),
        textColumn("MOBILE", &___CUSTOMER::MOBILE),
        submit,
        deleted,
        textColumn("ORG", &___CUSTOMER::ORG),
        textColumn("IDCARD", &___CUSTOMER::IDCARD),
        textColumn("EXT10", &___CUSTOMER::EXT10),
        textColumn("EXT9", &___CUSTOMER::EXT9),
        textColumn("EXT8", &___CUSTOMER::EXT8),
        textColumn("EXT7", &___CUSTOMER::EXT7),
        textColumn("EXT6", &___CUSTOMER::EXT6),
        textColumn("EXT5", &___CUSTOMER::EXT5),
        textColumn("EXT4", &___CUSTOMER::EXT4),
        textColumn("EXT3", &___CUSTOMER::EXT3),
        textColumn("EXT2", &___CUSTOMER::EXT2),
        textColumn("EXT1", &___CUSTOMER::EXT1),
    };
  }();
  return columns;
}

// "INSERT INTO CUSTOMER (ID,...) VALUES (?,...);" and "UPDATE CUSTOMER SET INTEGRAL = ?,...
// WHERE ID = ?;" over rawColumns, ID first in the one and last in the other.
std::string rawInsertSql() {
  std::string names;
  std::string marks;
  for (const RawColumn& column : rawColumns()) {
    names += names.empty() ? "" : ",";
    names += column.name;
    marks += marks.empty() ? "?" : ",?";
  }
  return "INSERT INTO CUSTOMER (" + names + ") VALUES (" + marks + ");";
}

std::string rawUpdateSql() {
  std::string assignments;
  for (std::size_t i = 1; i < rawColumns().size(); ++i) {
    assignments += assignments.empty() ? "" : ",";
    assignments += std::string(rawColumns()[i].name) + " = ?";
  }
  return "UPDATE CUSTOMER SET " + assignments + " WHERE ID = ?;";
}

// Reads the current row of a "select *" into the record.
void rawReadRow(sqlite3_stmt* stmt, ___CUSTOMER& record) {
  const std::vector<RawColumn>& columns = rawColumns();
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const RawColumn& column = columns[i];
    if (column.text != nullptr) {
      record.*column.text = fromUtf8(sqlite3_column_text(stmt, i), sqlite3_column_bytes(stmt, i));
    } else if (column.int64 != nullptr) {
      record.*column.int64 = sqlite3_column_int64(stmt, i);
    } else if (column.int32 != nullptr) {
      record.*column.int32 = sqlite3_column_int(stmt, i);
    } else {
      record.*column.real = static_cast<float>(sqlite3_column_double(stmt, i));
    }
  }
}

// Binds the record's columns from position first on (ID where it belongs), each text as UTF-8
// (the empty text as NULL) and each float as the six-decimal value the library writes.
class RawBinder {
 public:
  RawBinder() : texts_(rawColumns().size()) {}

  void bind(sqlite3_stmt* stmt, const ___CUSTOMER& record, bool idLast) {
    const std::vector<RawColumn>& columns = rawColumns();
    int position = idLast ? 1 : 2;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      const RawColumn& column = columns[i];
      if (column.int64 != nullptr) {
        int at = idLast ? static_cast<int>(columns.size()) : 1;
        sqlite3_bind_int64(stmt, at, record.*column.int64);
        continue;
      }
      if (column.text != nullptr) {
        const std::wstring& value = record.*column.text;
        if (value.empty()) {
          sqlite3_bind_null(stmt, position);
        } else {
          std::string& text = texts_[i];
          text.clear();
          utf8::utf32to8(value.begin(), value.end(), std::back_inserter(text));
          sqlite3_bind_text(stmt, position, text.data(), static_cast<int>(text.size()),
                            SQLITE_STATIC);
        }
      } else if (column.int32 != nullptr) {
        sqlite3_bind_int(stmt, position, record.*column.int32);
      } else {
        double value = static_cast<double>(record.*column.real);
        sqlite3_bind_double(stmt, position, std::round(value * 1e6) / 1e6);
      }
      ++position;
    }
  }

 private:
  std::vector<std::string> texts_;  // UTF-8 texts bound until the statement has run
};

// The customer's batch save: every lookup first, then the inserts (an ID of 0 taking the largest
// stored ID plus 1, the times stamped) and the updates (the stored SUBMIT kept). Like the
// library's, it owns its vector: records are stamped or merged in place and written by position.
void rawSave(const std::string& path, const std::string& rawKey, std::vector<___CUSTOMER> records) {
  RawDb db(path, rawKey, 100000);
  db.exec("begin immediate transaction;");
  std::vector<std::size_t> adds;
  std::vector<std::size_t> updates;
  adds.reserve(records.size());
  updates.reserve(records.size());
  {
    RawStatement lookup(db.get(), "select * from CUSTOMER where ORG=? and ID=?");
    std::string org;
    qmxbench::NowStamp clock;
    for (std::size_t index = 0; index < records.size(); ++index) {
      ___CUSTOMER& record = records[index];
      org.clear();
      utf8::utf32to8(record.ORG.begin(), record.ORG.end(), std::back_inserter(org));
      sqlite3_bind_text(lookup.get(), 1, org.data(), static_cast<int>(org.size()), SQLITE_STATIC);
      sqlite3_bind_int64(lookup.get(), 2, record.ID);
      int rc = lookup.step();
      if (rc == SQLITE_DONE) {
        const std::wstring& now = clock.current();
        if (record.CREATE_TIME.empty()) record.CREATE_TIME = now;
        record.UPDATE_TIME = now;
        adds.push_back(index);
      } else {
        check(db.get(), rc, SQLITE_ROW);
        ___CUSTOMER stored;
        for (; rc == SQLITE_ROW; rc = lookup.step()) rawReadRow(lookup.get(), stored);
        record.SUBMIT = stored.SUBMIT;  // the stored flag stays
        updates.push_back(index);
      }
      sqlite3_reset(lookup.get());
    }
  }
  RawBinder binder;
  if (!adds.empty()) {
    RawStatement largest(db.get(), "SELECT max(ID) FROM CUSTOMER ");
    RawStatement insert(db.get(), rawInsertSql().c_str());
    for (std::size_t index : adds) {
      ___CUSTOMER& record = records[index];
      if (record.ID == 0) {
        check(db.get(), largest.step(), SQLITE_ROW);
        record.ID = sqlite3_column_int64(largest.get(), 0) + 1;
        sqlite3_reset(largest.get());
      }
      binder.bind(insert.get(), record, false);
      insert.run();
    }
  }
  if (!updates.empty()) {
    RawStatement update(db.get(), rawUpdateSql().c_str());
    for (std::size_t index : updates) {
      binder.bind(update.get(), records[index], true);
      update.run();
    }
  }
  db.exec("commit transaction;");
}

std::vector<___CUSTOMER> rawFindAll(const std::string& path, const std::string& rawKey) {
  std::vector<___CUSTOMER> records;
  RawDb db(path, rawKey, 10000);
  RawStatement query(db.get(), "select * from CUSTOMER");
  int rc;
  while ((rc = query.step()) == SQLITE_ROW) {
    ___CUSTOMER record;
    rawReadRow(query.get(), record);
    records.push_back(std::move(record));
  }
  check(db.get(), rc, SQLITE_DONE);
  return records;
}

// findById: a connection of its own, "SELECT * FROM CUSTOMER WHERE ID = <id>", the row read.
___CUSTOMER rawFindById(const std::string& path, const std::string& rawKey, long long id) {
  ___CUSTOMER record;
  RawDb db(path, rawKey, 10000);
  const std::string sql = "SELECT * FROM CUSTOMER WHERE ID = " + std::to_string(id);
  RawStatement query(db.get(), sql.c_str());
  int rc;
  while ((rc = query.step()) == SQLITE_ROW) rawReadRow(query.get(), record);
  check(db.get(), rc, SQLITE_DONE);
  return record;
}

// SearchBySQL: every row as a map from column name to its text, NULL as the empty text.
std::vector<std::map<std::wstring, std::wstring>> rawSearch(const std::string& path,
                                                            const std::string& rawKey,
                                                            const char* sql) {
  std::vector<std::map<std::wstring, std::wstring>> rows;
  RawDb db(path, rawKey, 10000);
  RawStatement query(db.get(), sql);
  std::vector<std::wstring> names;
  for (int i = 0; i < sqlite3_column_count(query.get()); ++i) {
    const char* name = sqlite3_column_name(query.get(), i);
    names.push_back(fromUtf8(reinterpret_cast<const unsigned char*>(name),
                             static_cast<int>(std::strlen(name))));
  }
  int rc;
  while ((rc = query.step()) == SQLITE_ROW) {
    std::map<std::wstring, std::wstring> row;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
      row.emplace(names[i], fromUtf8(sqlite3_column_text(query.get(), i),
                                     sqlite3_column_bytes(query.get(), i)));
    }
    rows.push_back(std::move(row));
  }
  check(db.get(), rc, SQLITE_DONE);
  return rows;
}

// --- Table states ------------------------------------------------------------------------------

long long customerCount() {
  rawShop();
  return QMXDAO::CustomerDAOImpl().count();
}

void keepFirstRows(long long count) {
  rawShop();
  qmxbench::keepFirstRows(L"CUSTOMER", count);
}

// The table holding exactly the customers that SaveNew stores.
void storeCustomers() {
  keepFirstRows(0);
  rawSave(rawShop().path, rawShop().rawKey, newCustomers());
}

// The table holding kLargeTable customers of a hundred shops, written once per run in one
// transaction through one prepared insert.
void fillLargeTable() {
  if (customerCount() == kLargeTable) return;
  keepFirstRows(0);
  RawDb db(rawShop().path, rawShop().rawKey, 100000);
  db.exec("begin immediate transaction;");
  {
    RawStatement insert(db.get(), rawInsertSql().c_str());
    RawBinder binder;
    ___CUSTOMER c = allNewCustomers()[0];
    c.CREATE_TIME = c.UPDATE_TIME = L"2015-03-07 09:05:01";
    for (long long id = 1; id <= kLargeTable; ++id) {
      const std::wstring n = std::to_wstring(id);
      c.ID = id;
      c.ORG = orgName(id);
      c.TEL = L"010-" + n;
      c.CUSTOMER_NAME = L"\u987e\u5ba2 " + n;
      c.MOBILE = L"139" + n;
      binder.bind(insert.get(), c, false);
      insert.run();
    }
  }
  db.exec("commit transaction;");
}

// --- The pairs ---------------------------------------------------------------------------------

// Each iteration saves a copy of count customers made while the clock is paused (the library's
// save takes its vector by value: that copy is the caller's) into a table holding the first
// `kept` rows, put back while paused.
template <typename Save>
void saveNewInto(benchmark::State& state, long long kept, int count, Save save) {
  for (auto _ : state) {
    state.PauseTiming();
    keepFirstRows(kept);
    std::vector<___CUSTOMER> records = newCustomers(count);
    state.ResumeTiming();
    save(std::move(records));
  }
  if (customerCount() != kept + count) state.SkipWithError("wrong row count");
  keepFirstRows(kept);
  state.SetItemsProcessed(state.iterations() * count);
}

void librarySave(std::vector<___CUSTOMER> records) {
  QMXDAO::CustomerDAOImpl().save(std::move(records));
}

void rawSave(std::vector<___CUSTOMER> records) {
  rawSave(rawShop().path, rawShop().rawKey, std::move(records));
}

void BM_SaveNew_Library(benchmark::State& state) {
  saveNewInto(state, 0, static_cast<int>(state.range(0)), librarySave);
}

void BM_SaveNew_Sqlcipher(benchmark::State& state) {
  saveNewInto(state, 0, static_cast<int>(state.range(0)),
              [](std::vector<___CUSTOMER> records) { rawSave(std::move(records)); });
}

// Each iteration saves the changed customers over the stored ones.
template <typename Save>
void saveChanged(benchmark::State& state, Save save) {
  storeCustomers();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<___CUSTOMER> records = changedCustomers();
    state.ResumeTiming();
    save(std::move(records));
  }
  if (customerCount() != kCustomers) state.SkipWithError("wrong row count");
  state.SetItemsProcessed(state.iterations() * kCustomers);
}

void BM_SaveExisting_Library(benchmark::State& state) { saveChanged(state, librarySave); }

void BM_SaveExisting_Sqlcipher(benchmark::State& state) {
  saveChanged(state, [](std::vector<___CUSTOMER> records) { rawSave(std::move(records)); });
}

void BM_FindAll_Library(benchmark::State& state) {
  storeCustomers();
  QMXDAO::CustomerDAOImpl dao;
  for (auto _ : state) {
    std::vector<___CUSTOMER> rows = dao.findBySQL(L"select * from CUSTOMER");
    if (rows.size() != kCustomers) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * kCustomers);
}

void BM_FindAll_Sqlcipher(benchmark::State& state) {
  storeCustomers();
  for (auto _ : state) {
    std::vector<___CUSTOMER> rows = rawFindAll(rawShop().path, rawShop().rawKey);
    if (rows.size() != kCustomers) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * kCustomers);
}

constexpr int kFinds = 1000;

void BM_FindById_Library(benchmark::State& state) {
  storeCustomers();
  QMXDAO::CustomerDAOImpl dao;
  for (auto _ : state) {
    for (long long id = 1; id <= kFinds; ++id) {
      if (dao.findById(id * 7).ID != id * 7) state.SkipWithError("not found");
    }
  }
  state.SetItemsProcessed(state.iterations() * kFinds);
}

void BM_FindById_Sqlcipher(benchmark::State& state) {
  storeCustomers();
  for (auto _ : state) {
    for (long long id = 1; id <= kFinds; ++id) {
      if (rawFindById(rawShop().path, rawShop().rawKey, id * 7).ID != id * 7) {
        state.SkipWithError("not found");
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * kFinds);
}

void BM_SearchBySQL_Library(benchmark::State& state) {
  storeCustomers();
  for (auto _ : state) {
    auto rows = QMXDAO::Utility::SearchBySQL(L"select * from CUSTOMER", QMXDAO::DBNAME_MAIN);
    if (rows.size() != kCustomers) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * kCustomers);
}

void BM_SearchBySQL_Sqlcipher(benchmark::State& state) {
  storeCustomers();
  for (auto _ : state) {
    auto rows = rawSearch(rawShop().path, rawShop().rawKey, "select * from CUSTOMER");
    if (rows.size() != kCustomers) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * kCustomers);
}

void BM_SaveNewLarge_Library(benchmark::State& state) {
  fillLargeTable();
  saveNewInto(state, kLargeTable, kCustomers, librarySave);
}

void BM_SaveNewLarge_Sqlcipher(benchmark::State& state) {
  fillLargeTable();
  saveNewInto(state, kLargeTable, kCustomers,
              [](std::vector<___CUSTOMER> records) { rawSave(std::move(records)); });
}

BENCHMARK(BM_SaveNew_Library)->Arg(1000)->Arg(10000)->Arg(100000)->Apply(timedInMilliseconds);
BENCHMARK(BM_SaveNew_Sqlcipher)->Arg(1000)->Arg(10000)->Arg(100000)->Apply(timedInMilliseconds);
BENCHMARK(BM_SaveExisting_Library)->Apply(timedInMilliseconds);
BENCHMARK(BM_SaveExisting_Sqlcipher)->Apply(timedInMilliseconds);
BENCHMARK(BM_FindAll_Library)->Apply(timedInMilliseconds);
BENCHMARK(BM_FindAll_Sqlcipher)->Apply(timedInMilliseconds);
BENCHMARK(BM_FindById_Library)->Apply(timedInMilliseconds);
BENCHMARK(BM_FindById_Sqlcipher)->Apply(timedInMilliseconds);
BENCHMARK(BM_SearchBySQL_Library)->Apply(timedInMilliseconds);
BENCHMARK(BM_SearchBySQL_Sqlcipher)->Apply(timedInMilliseconds);
BENCHMARK(BM_SaveNewLarge_Library)->Apply(timedInMilliseconds);
BENCHMARK(BM_SaveNewLarge_Sqlcipher)->Apply(timedInMilliseconds);

}  // namespace
