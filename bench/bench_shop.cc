#include "bench/bench_shop.h"

#include <random>
#include <string>

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
  // One statement fills the table, so that setting up costs one connection, not a thousand.
  QMXDAO::Utility::execDML(
      L"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
          std::to_wstring(itemCount) +
          L") INSERT INTO ITEM (ITEM_NAME, UPC, ORG, SALE_PRICE, SUBMIT) "
          L"SELECT 'item ' || i, printf('690%010d', i), 'shop', i * 0.5, 0 FROM n;",
      QMXDAO::DBNAME_MAIN);
}

BenchShop::~BenchShop() {
  qmxdao::platform::setHostFolderForTesting(L"");
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::filesystem::path BenchShop::mainFile() const {
  return qmxdb::filePath(QMXDAO::Utility::GetDBName(QMXDAO::DBNAME_MAIN));
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

}  // namespace qmxbench
