// TempShop: a throw-away host folder for one test. It makes a fresh folder under the system's
// temporary folder, points the library's host folder at it (so GetDBName resolves to its "db"
// folder), optionally puts the two database files there (empty, or installed and keyed), and on
// destruction removes everything and gives the library back its real host folder lookup.
#pragma once

#include <filesystem>

namespace qmxdao::test {

class TempShop {
 public:
  enum class Layout {
    kNoDbFolder,     // the host folder alone: nothing for an operation to open
    kEmptyDbFolder,  // an empty "db" folder: the library finds no file to open
    kEmptyFiles,     // "db/QMX.db" and "db/SALE.db", keyed and holding no table: a test creates
                     // its tables
    kInstalled,      // "db/QMX.db" and "db/SALE.db" from the shipped schema, keyed
  };

  explicit TempShop(Layout layout = Layout::kEmptyFiles);
  ~TempShop();
  TempShop(const TempShop&) = delete;
  TempShop& operator=(const TempShop&) = delete;

  // The host folder, standing in for the executable's folder.
  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path dbFolder() const { return folder_ / "db"; }
  std::filesystem::path mainFile() const { return dbFolder() / "QMX.db"; }
  std::filesystem::path saleFile() const { return dbFolder() / "SALE.db"; }

 private:
  std::filesystem::path folder_;
};

}  // namespace qmxdao::test
