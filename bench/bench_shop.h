// A temporary shop for the benchmarks: a host folder in the system's temp folder holding the
// installation's two keyed database files, with the library pointed at it. The benchmarks of this
// program share one shop, made on first use and removed when the program ends.
#pragma once

#include <filesystem>

namespace qmxbench {

class BenchShop {
 public:
  // Makes the folder and the files, and fills ITEM with itemCount rows.
  explicit BenchShop(int itemCount);
  BenchShop(const BenchShop&) = delete;
  BenchShop& operator=(const BenchShop&) = delete;
  ~BenchShop();

  int itemCount() const { return itemCount_; }
  // The main database file, as the library names it.
  std::filesystem::path mainFile() const;

 private:
  std::filesystem::path folder_;
  int itemCount_;
};

// The shop with 1000 items that every benchmark of this program uses. The first call also sets up
// the engine (Utility::InitDB); the engine is shut down when the program ends.
BenchShop& sharedShop();

}  // namespace qmxbench
