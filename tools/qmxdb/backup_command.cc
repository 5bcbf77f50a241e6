#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/database_copy.h"
#include "tools/qmxdb/utf8_text.h"

namespace fs = std::filesystem;

namespace qmxdb {
namespace {

struct BackupArguments {
  std::string folder;
  bool force = false;
  bool main = false;
  bool sale = false;
};

// Progress is shown for files of more pages than this (about 16 MB).
constexpr long long kProgressPages = 16384;

long long totalRows(const RowCounts& counts) {
  long long rows = 0;
  for (const auto& table : counts) rows += table.second;
  return rows;
}

}  // namespace

CommandRun declareBackup(CLI::App& command) {
  auto args = std::make_shared<BackupArguments>();
  command.add_option("DIR", args->folder, "the folder that receives QMX.db and SALE.db")
      ->required();
  command.add_flag("--force", args->force, "replace copies that DIR holds already");
  addOneFileFlags(command, args->main, args->sale);
  return [args] {
    const std::vector<ShopFile> files = chosenFiles(args->main, args->sale);
    const fs::path folder = fs::u8path(args->folder);
    for (const ShopFile& file : files) {
      existingDatabaseFile(file.type);
      if (!args->force && fs::exists(folder / file.name)) {
        throw std::runtime_error((folder / file.name).u8string() +
                                 " exists already; --force replaces it");
      }
    }
    fs::create_directories(folder);
    for (const ShopFile& file : files) {
      const fs::path target = folder / file.name;
      int shown = -1;
      auto progress = [&](long long copied, long long total) {
        if (total < kProgressPages) return;
        const int percent = static_cast<int>(copied * 100 / total);
        if (percent == shown) return;
        shown = percent;
        std::cerr << '\r' << file.name << ": " << percent << "% of " << total << " pages"
                  << std::flush;
      };
      const RowCounts rows = backupDatabaseFile(QMXDAO::Utility::GetDBName(file.type),
                                                fromUtf8(target.u8string()), progress);
      if (shown >= 0) std::cerr << '\n';
      std::cout << file.name << " -> " << target.u8string() << ": " << totalRows(rows)
                << " rows in " << rows.size() << " tables, verified\n";
    }
    return 0;
  };
}

}  // namespace qmxdb
