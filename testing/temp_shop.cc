#include "testing/temp_shop.h"

#include <unistd.h>

#include <atomic>
#include <string>
#include <system_error>

#include "storage/platform.h"
#include "tools/qmxdb/database_files.h"

namespace qmxdao::test {

namespace {

// Unique among the processes ctest runs side by side and among the shops of one process.
std::filesystem::path makeUniqueFolder() {
  static std::atomic<unsigned> counter{0};
  const auto folder = std::filesystem::temp_directory_path() /
                      ("qmxdao-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(folder);  // left by an earlier process of the same number
  std::filesystem::create_directory(folder);
  return folder;
}

}  // namespace

TempShop::TempShop(Layout layout) : folder_(makeUniqueFolder()) {
  const std::wstring separator(1, platform::folderSeparator());
  platform::setHostFolderForTesting(folder_.wstring() + separator);
  if (layout == Layout::kEmptyDbFolder || layout == Layout::kEmptyFiles) {
    std::filesystem::create_directory(dbFolder());
  }
  // The library opens existing databases only: a zero-length file is none. A table made and
  // dropped again leaves a keyed database that holds no table.
  if (layout == Layout::kEmptyFiles) {
    for (const auto& file : {mainFile(), saleFile()}) {
      qmxdb::createDatabaseFile(file.wstring(), "create table EMPTY (V); drop table EMPTY;",
                                qmxdb::kDatabaseKey);
    }
  }
  if (layout == Layout::kInstalled) qmxdb::createDatabaseFiles(dbFolder().wstring() + separator);
}

TempShop::~TempShop() {
  platform::setHostFolderForTesting(L"");
  // Tests make files read-only on purpose; removal needs write access to the folders only.
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

}  // namespace qmxdao::test
