#include "bench/bench_shop.h"

#include <openssl/evp.h>
#include <utf8.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <random>

#include "qmxdao/storage/Utility.h"
#include "storage/platform.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxbench {
namespace {

std::filesystem::path makeUniqueFolder() {
  std::random_device random;
  for (;;) {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("qmxdao_bench_" + std::to_string(random()));
    if (std::filesystem::create_directory(folder)) return folder;
  }
}

}  // namespace

BenchShop::BenchShop(int itemCount) : folder_(makeUniqueFolder()), itemCount_(itemCount) {
  const std::wstring hostFolder = (folder_ / "").wstring();
  qmxdao::platform::setHostFolderForTesting(hostFolder);
  qmxdb::createDatabaseFiles(hostFolder + L"db/");
  resetItems();
}

void BenchShop::resetItems() {
  keepFirstRows(L"ITEM", 0);
  // One statement fills the table, so that setting up costs one connection, not a thousand.
  QMXDAO::Utility::execDML(
      L"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
          std::to_wstring(itemCount_) +
          L") INSERT INTO ITEM (ITEM_NAME, UPC, ORG, SALE_PRICE, SUBMIT) "
          L"SELECT 'item ' || i, printf('690%010d', i), 'shop', i * 0.5, 0 FROM n;",
      QMXDAO::DBNAME_MAIN);
}

BenchShop::~BenchShop() {
  qmxdao::platform::setHostFolderForTesting(L"");
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::filesystem::path BenchShop::mainFile() const { return file(QMXDAO::DBNAME_MAIN); }

std::filesystem::path BenchShop::file(QMXDAO::enDBNameType type) const {
  return qmxdb::filePath(QMXDAO::Utility::GetDBName(type));
}

BenchShop& sharedShop() {
  // Statics end in reverse order: the shop's folder goes first, then the engine shuts down.
  struct Engine {
    Engine() { QMXDAO::Utility::InitDB(); }
    ~Engine() { QMXDAO::Utility::QuitDB(); }
  };
  static Engine engine;
  static BenchShop shop(1000);
  return shop;
}

void keepFirstRows(const std::wstring& table, long long count, QMXDAO::enDBNameType file) {
  QMXDAO::Utility::execDML(L"DELETE FROM " + table + L" WHERE ID > " + std::to_wstring(count),
                           file);
}

void timedInMilliseconds(benchmark::internal::Benchmark* b) {
  // QMXDAO_BENCH_REPETITIONS=1 runs each once, for counting instructions under callgrind.
  const char* repetitions = std::getenv("QMXDAO_BENCH_REPETITIONS");
  int count = repetitions != nullptr ? std::atoi(repetitions) : 11;
  b->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(count > 0 ? count : 11);
  b->ReportAggregatesOnly(true);
}

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

const RawShop& rawShop(QMXDAO::enDBNameType type) {
  auto make = [](QMXDAO::enDBNameType type) {
    const std::filesystem::path file = sharedShop().file(type);
    // The library derives its own key for the file on its first open, outside the measurements.
    QMXDAO::Utility::GetItemCount(L"version", L"", type);
    return RawShop{file.string(), rawKeyOf(file)};
  };
  static const RawShop main = make(QMXDAO::DBNAME_MAIN);
  static const RawShop sale = make(QMXDAO::DBNAME_SALE);
  return type == QMXDAO::DBNAME_SALE ? sale : main;
}

std::wstring fromUtf8(const unsigned char* text, int bytes) {
  std::wstring out;
  if (text != nullptr) utf8::utf8to32(text, text + bytes, std::back_inserter(out));
  return out;
}

std::wstring nowText() { return nowText(std::time(nullptr)); }

std::wstring nowText(std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  wchar_t buffer[32];
  std::size_t length = std::wcsftime(buffer, 32, L"%Y-%m-%d %H:%M:%S", &local);
  return std::wstring(buffer, length);
}

}  // namespace qmxbench

namespace qmxbench {

const std::wstring& NowStamp::current() {
  std::time_t now = std::time(nullptr);
  if (text_.empty() || now != second_) {
    second_ = now;
    text_ = nowText(now);
  }
  return text_;
}

}  // namespace qmxbench
