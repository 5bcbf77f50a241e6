#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/table_printer.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

struct SqlArguments {
  bool sale = false;
  std::string sql;
};

}  // namespace

CommandRun declareSql(CLI::App& command) {
  auto args = std::make_shared<SqlArguments>();
  addSaleFlag(command, args->sale);
  command.add_option("SQL", args->sql, "the statement; its rows are printed in column-name order")
      ->required();
  return [args] {
    const QMXDAO::enDBNameType file = chosenFile(args->sale);
    existingDatabaseFile(file);
    printTable(std::cout, QMXDAO::Utility::SearchBySQL(fromUtf8(args->sql), file));
    return 0;
  };
}

}  // namespace qmxdb
