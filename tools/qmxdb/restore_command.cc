#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <memory>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/database_copy.h"
#include "tools/qmxdb/file_check.h"
#include "tools/qmxdb/utf8_text.h"

namespace fs = std::filesystem;

namespace qmxdb {
namespace {

struct RestoreArguments {
  std::string folder;
  int waitSeconds = 30;
  bool main = false;
  bool sale = false;
};

}  // namespace

CommandRun declareRestore(CLI::App& command) {
  auto args = std::make_shared<RestoreArguments>();
  command.add_option("DIR", args->folder, "the folder holding the copies QMX.db and SALE.db")
      ->required();
  command
      .add_option("--wait", args->waitSeconds, "seconds to wait for a program that is using a file")
      ->capture_default_str()
      ->check(CLI::NonNegativeNumber);
  addOneFileFlags(command, args->main, args->sale);
  return [args] {
    const std::vector<ShopFile> files = chosenFiles(args->main, args->sale);
    const fs::path folder = fs::u8path(args->folder);

    // Every copy is checked before any file is replaced.
    std::vector<FileCheck> checks;
    bool sound = true;
    for (const ShopFile& file : files) {
      checks.push_back(
          checkDatabaseFile(fromUtf8((folder / file.name).u8string()), file.schemaSql));
      sound = sound && checks.back().sound();
    }
    if (!sound) {
      printFileChecks(std::cout, checks);
      std::cout << checkVerdict(checks) << "\nNothing was restored.\n";
      return 1;
    }

    for (const ShopFile& file : files) {
      const std::wstring live = QMXDAO::Utility::GetDBName(file.type);
      const std::wstring copy = fromUtf8((folder / file.name).u8string());
      try {
        restoreDatabaseFile(copy, live, args->waitSeconds * 1000);
      } catch (const FileBusyError& e) {
        std::cerr << "qmxdb: " << e.what() << '\n';
        return 1;
      }
      RowCounts rows = countRows(live);
      long long total = 0;
      for (const auto& table : rows) total += table.second;
      std::cout << file.name << " restored from " << (folder / file.name).u8string() << " ("
                << total << " rows); the replaced file is kept as " << toUtf8(live)
                << ".before-restore\n";
    }
    return 0;
  };
}

}  // namespace qmxdb
