#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/file_check.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

struct CheckArguments {
  bool main = false;
  bool sale = false;
  bool json = false;
};

nlohmann::ordered_json jsonOf(const std::vector<FileCheck>& checks, bool sound) {
  nlohmann::ordered_json files = nlohmann::ordered_json::array();
  for (const FileCheck& check : checks) {
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (const CheckLine& line : check.lines) {
      lines.push_back({{"check", line.check}, {"ok", line.ok}, {"detail", line.detail}});
    }
    files.push_back({{"file", check.file}, {"sound", check.sound()}, {"checks", lines}});
  }
  return {{"sound", sound}, {"files", files}};
}

}  // namespace

CommandRun declareCheck(CLI::App& command) {
  auto args = std::make_shared<CheckArguments>();
  addOneFileFlags(command, args->main, args->sale);
  command.add_flag("--json", args->json, "write the findings as JSON");
  return [args] {
    std::vector<FileCheck> checks;
    bool sound = true;
    for (const ShopFile& file : chosenFiles(args->main, args->sale)) {
      checks.push_back(checkDatabaseFile(QMXDAO::Utility::GetDBName(file.type), file.schemaSql));
      sound = sound && checks.back().sound();
    }
    if (args->json) {
      std::cout << jsonOf(checks, sound).dump(2) << '\n';
    } else {
      printFileChecks(std::cout, checks);
      std::cout << checkVerdict(checks) << '\n';
    }
    return sound ? 0 : 1;
  };
}

}  // namespace qmxdb
