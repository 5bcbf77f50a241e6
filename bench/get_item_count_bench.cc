// Counting the rows of a 1000-row table in a keyed file: through Utility::GetItemCount, which opens
// its own connection per call, and straight through SQLCipher with the same raw key. The gap
// between the two is the library's own cost per call; a gap near the 40 ms key derivation would
// mean the derived-key cache is not used.
#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench/bench_shop.h"
#include "qmxdao/storage/Utility.h"

namespace {

// SQLCipher's raw-key form "x'<64 hex digits>'" of the database key for this file: PBKDF2-HMAC-
// SHA1 over the file's 16-byte salt, with SQLCipher 3's 64000 iterations.
std::string rawKeyOf(const std::filesystem::path& file) {
  unsigned char salt[16] = {};
  std::ifstream in(file, std::ios::binary);
  in.read(reinterpret_cast<char*>(salt), sizeof salt);
  const char passphrase[] = "KRD1987";
  unsigned char key[32] = {};
  PKCS5_PBKDF2_HMAC_SHA1(passphrase, sizeof passphrase - 1, salt, sizeof salt, 64000, sizeof key,
                         key);
  std::string raw = "x'";
  for (unsigned char byte : key) {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02x", byte);
    raw += hex;
  }
  return raw + "'";
}

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
  const std::string rawKey = rawKeyOf(shop.mainFile());
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
