#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

CommandRun declareRekey(CLI::App& command) {
  auto sale = std::make_shared<bool>(false);
  addSaleFlag(command, *sale);
  return [sale] {
    const QMXDAO::enDBNameType file = chosenFile(*sale);
    const std::wstring path = existingDatabaseFile(file);
    QMXDAO::Utility::ResetDBKey(L"", L"", file);
    std::cout << toUtf8(path) << " opens with the database key\n";
    return 0;
  };
}

}  // namespace qmxdb
