// What encryption costs the engine alone: the same statements on a plain file and on a keyed one
// (SQLCipher 3 settings, a raw key so no key derivation), the keyed one once with SQLCipher's
// stock OpenSSL provider and once with ours (storage/engine/crypto_provider.c). Three workloads:
// 200,000 rows inserted in one transaction under an indexed text key, a full scan of them on a
// fresh connection (every page read and decrypted), and 20,000 lookups through the index, also on
// a fresh connection. After the runs, a table gives each keyed CPU time divided by the plain one.
//
//   engine_cipher_bench [--benchmark_filter=Scan] [--benchmark_repetitions=3 ...]
//
// With repetitions the table uses the medians; --benchmark_enable_random_interleaving=true
// spreads a loaded machine's noise evenly over the three variants.
#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "storage/engine/crypto_provider.h"

namespace {

constexpr int kRows = 200000;
constexpr int kLookups = 20000;
const char kRawKey[] =
    "PRAGMA key = \"x'2DD29CA851E7B56E4697B0E1F08507293D761A05CE4D1B628663F411A8086D99'\";";

struct Variant {
  const char* name;
  const char* crypto;  // the provider, or nullptr for a plain file
  bool keyedLayout;    // a plain file laid out as a keyed one: 1024-byte pages, 48 bytes reserved
};
// The keyed file's pages hold 976 bytes of b-tree each, its IV, HMAC and padding making up the
// rest: the plain file with the same layout has the same pages, so that the two differ by the
// cipher alone. The library's own plain files have SQLite's default layout (4096-byte pages, none
// reserved), shown for comparison.
const Variant kVariants[] = {{"plain", nullptr, true},
                             {"plain4k", nullptr, false},
                             {"stock", QMXDAO_CRYPTO_STOCK, false},
                             {"own", QMXDAO_CRYPTO_OWN, false}};

std::filesystem::path benchFolder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() /
                ("qmxdao-engine-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

// The row's indexed key: rows arrive in a scattered key order, as a shop's codes do.
std::string rowKey(int n) {
  char text[32];
  std::snprintf(text, sizeof text, "UPC-%09d", static_cast<int>((n * 7919LL) % kRows));
  return text;
}

// A connection on the variant's file under its provider; nullptr on failure.
sqlite3* openFile(const std::filesystem::path& file, const Variant& variant) {
  if (variant.crypto != nullptr && qmxdao_engine_use_crypto(variant.crypto) != SQLITE_OK) {
    return nullptr;
  }
  sqlite3* db = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (sqlite3_open_v2(file.string().c_str(), &db, flags, nullptr) != SQLITE_OK ||
      (variant.crypto != nullptr && sqlite3_exec(db, kRawKey, nullptr, nullptr, nullptr))) {
    sqlite3_close(db);
    return nullptr;
  }
  return db;
}

// Creates the file afresh and inserts the rows in one transaction.
bool insertRows(const std::filesystem::path& file, const Variant& variant) {
  std::filesystem::remove(file);
  sqlite3* db = openFile(file, variant);
  sqlite3_stmt* insert = nullptr;
  int reserve = 48;
  bool ok =
      db != nullptr &&
      (!variant.keyedLayout ||
       (sqlite3_exec(db, "PRAGMA page_size = 1024;", nullptr, nullptr, nullptr) == SQLITE_OK &&
        sqlite3_file_control(db, "main", SQLITE_FCNTL_RESERVE_BYTES, &reserve) == SQLITE_OK)) &&
      sqlite3_exec(db,
                   "create table T (ID integer primary key, K text not null, V text);"
                   "create index T_K on T (K); begin;",
                   nullptr, nullptr, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(db, "insert into T (K, V) values (?, ?)", -1, &insert, nullptr) ==
          SQLITE_OK;
  for (int n = 0; ok && n < kRows; ++n) {
    const std::string key = rowKey(n);
    const std::string value = "item " + std::to_string(n) + ", 1 piece";
    sqlite3_bind_text(insert, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
  }
  sqlite3_finalize(insert);
  ok = ok && sqlite3_exec(db, "commit;", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

// The variant's file with its rows, written once for the reading workloads.
const std::filesystem::path& filledFile(const Variant& variant) {
  static std::map<std::string, std::filesystem::path> files;
  auto found = files.find(variant.name);
  if (found != files.end()) return found->second;
  const auto file = benchFolder() / (std::string("read-") + variant.name + ".db");
  return files[variant.name] = insertRows(file, variant) ? file : std::filesystem::path();
}

void BM_Insert(benchmark::State& state, Variant variant) {
  const auto file = benchFolder() / (std::string("insert-") + variant.name + ".db");
  for (auto _ : state) {
    if (!insertRows(file, variant)) state.SkipWithError("insert failed");
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

// Runs one statement to its end on a fresh connection: the rows' count, or -1 on failure.
long long scan(const std::filesystem::path& file, const Variant& variant, const char* sql) {
  sqlite3* db = openFile(file, variant);
  sqlite3_stmt* statement = nullptr;
  long long rows = -1;
  if (db != nullptr && sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK) {
    rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) ++rows;
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return rows;
}

void BM_ColdScan(benchmark::State& state, Variant variant) {
  const std::filesystem::path& file = filledFile(variant);
  for (auto _ : state) {
    if (scan(file, variant, "select ID, K, V from T") != kRows) state.SkipWithError("scan failed");
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_IndexedLookups(benchmark::State& state, Variant variant) {
  const std::filesystem::path& file = filledFile(variant);
  for (auto _ : state) {
    sqlite3* db = openFile(file, variant);
    sqlite3_stmt* lookup = nullptr;
    bool ok = db != nullptr && sqlite3_prepare_v2(db, "select V from T where K = ?", -1, &lookup,
                                                  nullptr) == SQLITE_OK;
    unsigned state32 = 12345;  // the same keys in every run and variant
    for (int n = 0; ok && n < kLookups; ++n) {
      state32 = state32 * 1664525u + 1013904223u;
      const std::string key = rowKey(static_cast<int>(state32 % kRows));
      sqlite3_bind_text(lookup, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
      ok = sqlite3_step(lookup) == SQLITE_ROW && sqlite3_reset(lookup) == SQLITE_OK;
    }
    sqlite3_finalize(lookup);
    sqlite3_close(db);
    if (!ok) state.SkipWithError("lookup failed");
  }
  state.SetItemsProcessed(state.iterations() * kLookups);
}

// The console report, keeping each run's CPU time for the closing table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) cpu_[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }

  void printRatios(const std::vector<std::string>& workloads) const {
    std::printf(
        "\nCPU time, keyed / plain (same page layout), and / plain4k (SQLite's default layout)\n"
        "%-12s %8s %8s %10s %10s %9s\n",
        "workload", "stock", "own", "stock/4k", "own/4k", "own/stock");
    for (const std::string& workload : workloads) {
      const double plain = cpu(workload + "/plain"), plain4k = cpu(workload + "/plain4k"),
                   stock = cpu(workload + "/stock"), own = cpu(workload + "/own");
      if (plain > 0 && plain4k > 0 && stock > 0 && own > 0) {
        std::printf("%-12s %8.2f %8.2f %10.2f %10.2f %9.2f\n", workload.c_str(), stock / plain,
                    own / plain, stock / plain4k, own / plain4k, own / stock);
      }
    }
  }

 private:
  double cpu(const std::string& name) const {  // the median of repetitions when there are some
    auto found = cpu_.find(name + "_median");
    if (found == cpu_.end()) found = cpu_.find(name);
    return found == cpu_.end() ? 0 : found->second;
  }
  std::map<std::string, double> cpu_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  const std::vector<std::pair<std::string, void (*)(benchmark::State&, Variant)>> workloads = {
      {"Insert200k", BM_Insert}, {"ColdScan", BM_ColdScan}, {"Lookups20k", BM_IndexedLookups}};
  std::vector<std::string> names;
  for (const auto& [name, function] : workloads) {
    names.push_back(name);
    for (const Variant& variant : kVariants) {
      benchmark::RegisterBenchmark((name + "/" + variant.name).c_str(), function, variant)
          ->Unit(benchmark::kMillisecond);
    }
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios(names);
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(benchFolder(), ignored);
  return 0;
}
