#include "testing/temp_shop.h"

#include <unistd.h>

#include <atomic>
#include <string>
#include <system_error>

#include "qmxdao/storage/CppSQLite3Exception.h"
#include "testing/test_seams.h"

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
  const std::wstring separator(1, std::filesystem::path::preferred_separator);
  const std::wstring host = folder_.wstring() + separator;
  qmxdao_test_set_host_folder(host.c_str(), host.size());
  if (layout == Layout::kEmptyDbFolder || layout == Layout::kEmptyFiles) {
    std::filesystem::create_directory(dbFolder());
  }
  // The library opens existing databases only: a zero-length file is none.
  if (layout == Layout::kEmptyFiles || layout == Layout::kInstalled) {
    const std::wstring db = dbFolder().wstring() + separator;
    qmxdao_status status =
        qmxdao_test_create_files(db.c_str(), db.size(), layout == Layout::kInstalled ? 1 : 0);
    if (status != QMXDAO_OK) {
      const wchar_t* message = nullptr;
      std::size_t length = 0;
      qmxdao_last_error(&message, &length);
      throw CppSQLite3Exception(status, std::wstring(message, length));
    }
  }
}

TempShop::~TempShop() {
  qmxdao_test_set_host_folder(L"", 0);
  // Tests make files read-only on purpose; removal needs write access to the folders only.
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

}  // namespace qmxdao::test
