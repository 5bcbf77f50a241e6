// "qmxdb import" of a 100,000-row item file, through the tool's own import code (importCsv: CSV
// parsing, text to fields through the record's setters, batch saves of 2,000), against the
// library's batch save (ItemDAOImpl::save, batches of 2,000) of the same items already in memory.
// Both insert every row into a table that holds the shared shop's 1,000 other items, and each
// iteration runs both, so the ratio comes from one run. The import's target: at most 1.3 times
// the batch save's time.
//
//   ImportAgainstBatchSave   counters: import_rows_per_s, save_rows_per_s, ratio (import / save)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_shop.h"
#include "qmxdao/dao/ItemDAOImpl.h"
#include "qmxdao/domain/Item.h"
#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/import_csv.h"
#include "tools/qmxdb/record_kinds.h"

namespace {

using QMXDataDomain::___ITEM;

constexpr int kRows = 100000;
constexpr std::size_t kBatch = 2000;
const wchar_t kOrg[] = L"bench-import";

// The fields of item number i, as text; the record and the CSV line are built from the same.
struct ItemText {
  std::string upc, name, standard, unit, typeId, merchant, remark;
  std::string purchasePrice, salePrice, memberPrice;
  int typeNumber;
};

ItemText itemText(int i) {
  char upc[32];
  std::snprintf(upc, sizeof upc, "69%011d", i);
  char price[3][32];
  std::snprintf(price[0], sizeof price[0], "%.2f", 1 + (i % 500) * 0.25);
  std::snprintf(price[1], sizeof price[1], "%.2f", 2 + (i % 500) * 0.5);
  std::snprintf(price[2], sizeof price[2], "%.2f", 1.75 + (i % 500) * 0.5);
  return {upc,
          "item " + std::to_string(i),
          std::to_string(100 + i % 900) + " g",
          "bag",
          std::to_string(i % 40),
          "merchant-" + std::to_string(i % 50),
          i % 10 == 0 ? "seasonal, \"limited\"" : "",
          price[0],
          price[1],
          price[2],
          i % 40};
}

std::string quotedCsv(const std::string& text) {
  if (text.find_first_of(",\"") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string itemFile() {
  std::string csv =
      "UPC,ORG,ITEM_NAME,STANDART,UNIT_ID,TYPEID,MERCHANT_ID,REMARK,PUR_PRICE,SALE_PRICE,"
      "MEM_PRICE,ITEM_TYPE_ID\n";
  for (int i = 1; i <= kRows; ++i) {
    const ItemText t = itemText(i);
    csv += t.upc + ",bench-import," + t.name + "," + t.standard + "," + t.unit + "," + t.typeId +
           "," + t.merchant + "," + quotedCsv(t.remark) + "," + t.purchasePrice + "," +
           t.salePrice + "," + t.memberPrice + "," + std::to_string(t.typeNumber) + "\n";
  }
  return csv;
}

std::wstring wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::vector<___ITEM> itemRecords() {
  std::vector<___ITEM> items;
  items.reserve(kRows);
  for (int i = 1; i <= kRows; ++i) {
    const ItemText t = itemText(i);
    ___ITEM item;
    item.UPC = wide(t.upc);
    item.ORG = kOrg;
    item.ITEM_NAME = wide(t.name);
    item.STANDART = wide(t.standard);
    item.UNIT_ID = wide(t.unit);
    item.TYPEID = wide(t.typeId);
    item.MERCHANT_ID = wide(t.merchant);
    item.REMARK = wide(t.remark);
    item.PUR_PRICE = std::stof(t.purchasePrice);
    item.SALE_PRICE = std::stof(t.salePrice);
    item.MEM_PRICE = std::stof(t.memberPrice);
    item.ITEM_TYPE_ID = t.typeNumber;
    items.push_back(item);
  }
  return items;
}

void removeBenchItems() {
  QMXDAO::Utility::execDML(L"delete from ITEM where ORG='bench-import'", QMXDAO::DBNAME_MAIN);
}

long long benchItems() {
  return QMXDAO::Utility::GetItemCount(L"ITEM", L"ORG='bench-import'", QMXDAO::DBNAME_MAIN);
}

double secondsOf(const std::chrono::steady_clock::time_point& start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ImportAgainstBatchSave(benchmark::State& state) {
  qmxbench::sharedShop();
  const std::string csv = itemFile();
  const std::vector<___ITEM> items = itemRecords();
  const qmxdb::RecordKind* kind = qmxdb::findRecordKind("ITEM");
  double importSeconds = 0;
  double saveSeconds = 0;

  for (auto _ : state) {
    removeBenchItems();
    std::istringstream in(csv);
    qmxdb::ImportOptions options;
    options.batchSize = kBatch;
    qmxdb::ImportSummary summary;
    auto start = std::chrono::steady_clock::now();
    qmxdb::importCsv(*kind, in, options, summary);
    const double importTime = secondsOf(start);
    if (summary.inserted() != kRows || !summary.rejected.empty() || benchItems() != kRows) {
      state.SkipWithError("the import did not insert every row");
      break;
    }

    removeBenchItems();
    start = std::chrono::steady_clock::now();
    QMXDAO::ItemDAOImpl dao;
    for (std::size_t first = 0; first < items.size(); first += kBatch) {
      const std::size_t last = std::min(items.size(), first + kBatch);
      dao.save(std::vector<___ITEM>(items.begin() + first, items.begin() + last));
    }
    const double saveTime = secondsOf(start);
    if (benchItems() != kRows) {
      state.SkipWithError("the batch save did not insert every row");
      break;
    }

    state.SetIterationTime(importTime);
    importSeconds += importTime;
    saveSeconds += saveTime;
  }
  removeBenchItems();

  const double iterations = static_cast<double>(state.iterations());
  if (iterations > 0 && importSeconds > 0 && saveSeconds > 0) {
    state.counters["import_rows_per_s"] = kRows * iterations / importSeconds;
    state.counters["save_rows_per_s"] = kRows * iterations / saveSeconds;
    state.counters["ratio"] = importSeconds / saveSeconds;
  }
}
BENCHMARK(BM_ImportAgainstBatchSave)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);

}  // namespace
