// Counting the rows of a 1000-row table in a keyed file: through Utility::GetItemCount, which opens
// its own connection per call, and straight through SQLCipher with the same raw key. The gap
// between the two is the library's own cost per call; a gap near the 40 ms key derivation would
// mean the derived-key cache is not used.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_shop.h"
#include "qmxdao/storage/Utility.h"

namespace {

// One connection per count, as the library makes it; -1 when any step fails.
long long rawCount(const std::string& path, const std::string& rawKey) {
  long long count = -1;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
      sqlite3_key(db, rawKey.data(), static_cast<int>(rawKey.size())) == SQLITE_OK) {
    sqlite3_busy_timeout(db, 10000);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "select count(*) as c from ITEM", -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      count = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return count;
}

void BM_GetItemCount(benchmark::State& state) {
  const qmxbench::BenchShop& shop = qmxbench::sharedShop();
  for (auto _ : state) {
    long long count = QMXDAO::Utility::GetItemCount(L"ITEM", L"", QMXDAO::DBNAME_MAIN);
    if (count != shop.itemCount()) {
      state.SkipWithError("wrong count");
      break;
    }
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(BM_GetItemCount)->Unit(benchmark::kMicrosecond);

void BM_RawSqlcipherCount(benchmark::State& state) {
  const qmxbench::BenchShop& shop = qmxbench::sharedShop();
  const std::string path = shop.mainFile().string();
  const std::string rawKey = qmxbench::rawKeyOf(shop.mainFile());
  for (auto _ : state) {
    long long count = rawCount(path, rawKey);
    if (count != shop.itemCount()) {
      state.SkipWithError("wrong count");
      break;
    }
    benchmark::DoNotOptimize(count);
  }
}
BENCHMARK(BM_RawSqlcipherCount)->Unit(benchmark::kMicrosecond);

}  // namespace
