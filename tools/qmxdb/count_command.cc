#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

struct CountArguments {
  bool sale = false;
  std::string table;
  std::string where;
};

}  // namespace

CommandRun declareCount(CLI::App& command) {
  auto args = std::make_shared<CountArguments>();
  addSaleFlag(command, args->sale);
  command.add_option("TABLE", args->table, "the table, for example ITEM or SALE_ORDER")->required();
  command.add_option("--where", args->where, "a condition in SQL, for example \"ORG='shop-1'\"");
  return [args] {
    const QMXDAO::enDBNameType file = fileOfTable(args->table, args->sale);
    existingDatabaseFile(file);
    std::cout << QMXDAO::Utility::GetItemCount(fromUtf8(args->table), fromUtf8(args->where), file)
              << '\n';
    return 0;
  };
}

}  // namespace qmxdb
