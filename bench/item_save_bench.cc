// The item's batch save in a keyed file, beside the same work written straight against SQLCipher:
// one connection with the raw key, one transaction, the natural-key lookup
// "select * from ITEM where [UPC]=? and [ORG]=?" and one INSERT of all 33 columns (ID left to the
// table), each compiled once and reused, with the values and stamps the library would write. The
// gap between a pair is the library's own cost for the same rows.
//
//   SaveNew         10,000 new items into an empty table
//   SaveUnchanged   the same 10,000 again, stored and unchanged: each is looked up, read back and
//                   compared, and none is written
#include <benchmark/benchmark.h>
#include <utf8.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_shop.h"
#include "qmxdao/dao/ItemDAOImpl.h"
#include "qmxdao/domain/Item.h"
#include "qmxdao/storage/Utility.h"

namespace {

using qmxbench::check;
using qmxbench::RawDb;
using qmxbench::rawShop;
using qmxbench::RawStatement;
using QMXDataDomain::___ITEM;

constexpr int kItems = 10000;
// Written into every stored row before SaveUnchanged: a save that writes a row replaces it.
const wchar_t kUntouched[] = L"2000-01-01 00:00:00";

// --- Input -------------------------------------------------------------------------------------

// kItems items of ten shops with every field filled but the two times, which the save stamps.
const std::vector<___ITEM>& newItems() {
  static const std::vector<___ITEM> items = [] {
    std::vector<___ITEM> list(kItems);
    for (int i = 0; i < kItems; ++i) {
      ___ITEM& item = list[i];
      const std::wstring n = std::to_wstring(i);
      wchar_t upc[16];
      std::swprintf(upc, 16, L"69%011d", i);
      item.UPC = upc;
      item.ORG = L"shop" + std::to_wstring(i % 10);
      item.ITEM_NAME = L"\u5546\u54c1 " + n;
      item.STANDART = std::to_wstring(100 + i % 900) + L" g";
      item.STORE_CODE = L"S" + n;
      item.UNIT_ID = L"bag";
      item.PACKAGETYPE = L"box";
      item.CREATUSER = L"admin";
      item.READONlY = L"0";
      item.TYPEID = std::to_wstring(i % 40);
      item.PUR_PRICE = 1 + (i % 500) * 0.25f;
      item.SALE_PRICE = 2 + (i % 500) * 0.5f;
      item.MEM_PRICE = 1.75f + (i % 500) * 0.5f;
      item.DISCOUNT_RATE = 0.95f;
      item.MERCHANT_ID = L"merchant-" + std::to_wstring(i % 50);
      item.REMARK = i % 10 == 0 ? L"seasonal" : L"";
      item.SUBMIT = i % 2;
      item.ITEM_TYPE_ID = i % 40;
      item.EXT1 = L"e1-" + n;
      item.EXT2 = L"e2-" + n;
      item.EXT3 = L"e3";
    }
    return list;
  }();
  return items;
}

// --- SQLCipher directly ------------------------------------------------------------------------

// The columns besides ID; `compared` marks those the save's change test looks at.
struct TextColumn {
  const char* name;
  std::wstring ___ITEM::*field;
  bool compared;
};
struct IntColumn {
  const char* name;
  int ___ITEM::*field;
  bool compared;
};
struct FloatColumn {
  const char* name;
  float ___ITEM::*field;
};

const TextColumn kTexts[] = {
    {"ITEM_NAME", &___ITEM::ITEM_NAME, true},
    {"STANDART", &___ITEM::STANDART, true},
    {"STORE_CODE", &___ITEM::STORE_CODE, true},
    {"UPC", &___ITEM::UPC, true},
    {"UNIT_ID", &___ITEM::UNIT_ID, true},
    {"PACKAGETYPE", &___ITEM::PACKAGETYPE, true},
    {"CREATUSER", &___ITEM::CREATUSER, true},
    {"READONlY", &___ITEM::READONlY, true},
    {"TYPEID", &___ITEM::TYPEID, true},
    {"ORG", &___ITEM::ORG, true},
    {"MERCHANT_ID", &___ITEM::MERCHANT_ID, true},
    {"REMARK", &___ITEM::REMARK, true},
    {"CREATE_TIME", &___ITEM::CREATE_TIME, false},
    {"UPDATE_TIME", &___ITEM::UPDATE_TIME, false},
    {"EXT1", &___ITEM::EXT1, true},
    {"EXT2", &___ITEM::EXT2, true},
    {"EXT3", &___ITEM::EXT3, true},
    {"EXT4", &___ITEM::EXT4, true},
    {"EXT5", &___ITEM::EXT5, true},
    {"EXT6", &___ITEM::EXT6, true},
    {"EXT7", &___ITEM::EXT7, true},
    {"EXT8", &___ITEM::EXT8, true},
    {"EXT9", &___ITEM::EXT9, true},
    {"EXT10", &___ITEM::EXT10, true},
};
const IntColumn kInts[] = {
    {"SUBMIT", &___ITEM::SUBMIT, true},
    {"ITEM_TYPE_ID", &___ITEM::ITEM_TYPE_ID, true},
    {"DEL_FLAG", &___ITEM::DEL_FLAG, false},
    {"ERRCOUNT", &___ITEM::ERRCOUNT, false},
};
const FloatColumn kFloats[] = {
    {"PUR_PRICE", &___ITEM::PUR_PRICE},
    {"SALE_PRICE", &___ITEM::SALE_PRICE},
    {"MEM_PRICE", &___ITEM::MEM_PRICE},
    {"DISCOUNT_RATE", &___ITEM::DISCOUNT_RATE},
};

// "INSERT INTO ITEM (ID,<texts>,<ints>,<floats>) VALUES (?,...);"
std::string insertSql() {
  std::string names = "ID";
  std::string marks = "?";
  auto add = [&](const char* name) {
    names += std::string(",") + name;
    marks += ",?";
  };
  for (const TextColumn& column : kTexts) add(column.name);
  for (const IntColumn& column : kInts) add(column.name);
  for (const FloatColumn& column : kFloats) add(column.name);
  return "INSERT INTO ITEM (" + names + ") VALUES (" + marks + ");";
}

void toUtf8(const std::wstring& text, std::string& out) {
  out.clear();
  utf8::utf32to8(text.begin(), text.end(), std::back_inserter(out));
}

// Binds an item to the INSERT: ID as NULL, each text as UTF-8 (the empty text as NULL), each
// float as the six-decimal value the library writes.
class InsertBinder {
 public:
  void bind(sqlite3_stmt* stmt, const ___ITEM& item) {
    int position = 1;
    sqlite3_bind_null(stmt, position++);
    for (std::size_t i = 0; i < std::size(kTexts); ++i, ++position) {
      const std::wstring& value = item.*kTexts[i].field;
      if (value.empty()) {
        sqlite3_bind_null(stmt, position);
        continue;
      }
      toUtf8(value, texts_[i]);
      sqlite3_bind_text(stmt, position, texts_[i].data(), static_cast<int>(texts_[i].size()),
                        SQLITE_STATIC);
    }
    for (const IntColumn& column : kInts) sqlite3_bind_int(stmt, position++, item.*column.field);
    for (const FloatColumn& column : kFloats) {
      double value = static_cast<double>(item.*column.field);
      sqlite3_bind_double(stmt, position++, std::round(value * 1e6) / 1e6);
    }
  }

 private:
  std::string texts_[std::size(kTexts)];  // UTF-8 texts bound until the statement has run
};

// Reads the rows of a "select * from ITEM", finding each column by name once.
class RowReader {
 public:
  explicit RowReader(sqlite3_stmt* stmt) {
    for (std::size_t i = 0; i < std::size(kTexts); ++i) texts_[i] = indexOf(stmt, kTexts[i].name);
    for (std::size_t i = 0; i < std::size(kInts); ++i) ints_[i] = indexOf(stmt, kInts[i].name);
    for (std::size_t i = 0; i < std::size(kFloats); ++i)
      floats_[i] = indexOf(stmt, kFloats[i].name);
    id_ = indexOf(stmt, "ID");
  }

  void read(sqlite3_stmt* stmt, ___ITEM& item) const {
    item.ID = sqlite3_column_int64(stmt, id_);
    for (std::size_t i = 0; i < std::size(kTexts); ++i) {
      item.*kTexts[i].field = qmxbench::fromUtf8(sqlite3_column_text(stmt, texts_[i]),
                                                 sqlite3_column_bytes(stmt, texts_[i]));
    }
    for (std::size_t i = 0; i < std::size(kInts); ++i) {
      item.*kInts[i].field = sqlite3_column_int(stmt, ints_[i]);
    }
    for (std::size_t i = 0; i < std::size(kFloats); ++i) {
      item.*kFloats[i].field = static_cast<float>(sqlite3_column_double(stmt, floats_[i]));
    }
  }

 private:
  static int indexOf(sqlite3_stmt* stmt, const char* name) {
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      if (std::strcmp(sqlite3_column_name(stmt, i), name) == 0) return i;
    }
    throw std::runtime_error(std::string("ITEM has no column ") + name);
  }

  int id_;
  int texts_[std::size(kTexts)];
  int ints_[std::size(kInts)];
  int floats_[std::size(kFloats)];
};

// The save's change test: a NaN price always differs.
bool differs(const ___ITEM& stored, const ___ITEM& incoming) {
  for (const TextColumn& column : kTexts) {
    if (column.compared && stored.*column.field != incoming.*column.field) return true;
  }
  for (const IntColumn& column : kInts) {
    if (column.compared && stored.*column.field != incoming.*column.field) return true;
  }
  for (const FloatColumn& column : kFloats) {
    if (!(stored.*column.field == incoming.*column.field)) return true;
  }
  return false;
}

// The item's batch save for new and unchanged items: every lookup first, then the inserts with
// the times stamped. A stored item that differs would be an update, which these runs never need;
// the result is how many there were. Like the library's, it owns its vector: new items are stamped
// in place and inserted by position.
int rawSave(std::vector<___ITEM> items) {
  RawDb db(rawShop().path, rawShop().rawKey, 100000);
  db.exec("begin immediate transaction;");
  std::vector<std::size_t> adds;
  adds.reserve(items.size());
  int changed = 0;
  {
    RawStatement lookup(db.get(), "select * from ITEM where [UPC]=? and [ORG]=?");
    const RowReader reader(lookup.get());
    std::string upc;
    std::string org;
    qmxbench::NowStamp clock;
    for (std::size_t index = 0; index < items.size(); ++index) {
      ___ITEM& item = items[index];
      toUtf8(item.UPC, upc);
      toUtf8(item.ORG, org);
      sqlite3_bind_text(lookup.get(), 1, upc.data(), static_cast<int>(upc.size()), SQLITE_STATIC);
      sqlite3_bind_text(lookup.get(), 2, org.data(), static_cast<int>(org.size()), SQLITE_STATIC);
      int rc = lookup.step();
      if (rc == SQLITE_DONE) {
        const std::wstring& now = clock.current();
        if (item.CREATE_TIME.empty()) item.CREATE_TIME = now;
        item.UPDATE_TIME = now;
        adds.push_back(index);
      } else {
        ___ITEM stored;
        for (; rc == SQLITE_ROW; rc = lookup.step()) reader.read(lookup.get(), stored);
        check(db.get(), rc, SQLITE_DONE);
        if (differs(stored, item)) ++changed;
      }
      sqlite3_reset(lookup.get());
    }
  }
  if (!adds.empty()) {
    RawStatement insert(db.get(), insertSql().c_str());
    InsertBinder binder;
    for (std::size_t index : adds) {
      binder.bind(insert.get(), items[index]);
      insert.run();
    }
  }
  db.exec("commit transaction;");
  return changed;
}

// --- Table states ------------------------------------------------------------------------------

long long itemCount(const std::wstring& condition = L"") {
  return QMXDAO::Utility::GetItemCount(L"ITEM", condition, QMXDAO::DBNAME_MAIN);
}

void emptyTable() {
  rawShop();
  qmxbench::keepFirstRows(L"ITEM", 0);
}

// The table holding exactly the items SaveNew stores, each marked untouched.
void storeItems() {
  emptyTable();
  rawSave(newItems());
  QMXDAO::Utility::execDML(std::wstring(L"UPDATE ITEM SET UPDATE_TIME='") + kUntouched + L"'",
                           QMXDAO::DBNAME_MAIN);
}

// Checks the table the pair left and gives the shop back its own items.
void finish(benchmark::State& state, bool stored) {
  if (itemCount() != kItems) state.SkipWithError("wrong row count");
  if (stored && itemCount(std::wstring(L"UPDATE_TIME='") + kUntouched + L"'") != kItems) {
    state.SkipWithError("an unchanged item was written");
  }
  qmxbench::sharedShop().resetItems();
  state.SetItemsProcessed(state.iterations() * kItems);
}

// --- The pairs ---------------------------------------------------------------------------------

// Each iteration saves a copy of the items made while the clock is paused (the library's save
// takes its vector by value: that copy is the caller's), into an empty table or, with `stored`,
// into the table holding them already.
template <typename Save>
void timedSaves(benchmark::State& state, bool stored, Save save) {
  if (stored) storeItems();
  for (auto _ : state) {
    state.PauseTiming();
    if (!stored) emptyTable();
    std::vector<___ITEM> items = newItems();
    state.ResumeTiming();
    save(std::move(items));
  }
  finish(state, stored);
}

void BM_ItemSaveNew_Library(benchmark::State& state) {
  QMXDAO::ItemDAOImpl dao;
  timedSaves(state, false, [&](std::vector<___ITEM> items) { dao.save(std::move(items)); });
}

void BM_ItemSaveNew_Sqlcipher(benchmark::State& state) {
  timedSaves(state, false, [](std::vector<___ITEM> items) { rawSave(std::move(items)); });
}

void BM_ItemSaveUnchanged_Library(benchmark::State& state) {
  QMXDAO::ItemDAOImpl dao;
  timedSaves(state, true, [&](std::vector<___ITEM> items) { dao.save(std::move(items)); });
}

void BM_ItemSaveUnchanged_Sqlcipher(benchmark::State& state) {
  timedSaves(state, true, [&](std::vector<___ITEM> items) {
    if (rawSave(std::move(items)) != 0) state.SkipWithError("a stored item differs");
  });
}

BENCHMARK(BM_ItemSaveNew_Library)->Apply(qmxbench::timedInMilliseconds);
BENCHMARK(BM_ItemSaveNew_Sqlcipher)->Apply(qmxbench::timedInMilliseconds);
BENCHMARK(BM_ItemSaveUnchanged_Library)->Apply(qmxbench::timedInMilliseconds);
BENCHMARK(BM_ItemSaveUnchanged_Sqlcipher)->Apply(qmxbench::timedInMilliseconds);

}  // namespace
