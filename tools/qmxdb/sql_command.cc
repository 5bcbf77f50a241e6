#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "storage/connection.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/row_writers.h"
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
  command.add_option("SQL", args->sql, "the statement; its columns are printed in its own order")
      ->required();
  return [args] {
    const QMXDAO::enDBNameType file = chosenFile(args->sale);
    existingDatabaseFile(file);
    auto db = qmxdao::openConnection(file, qmxdao::kReadBusyTimeout);
    writeQueryRows(*db, fromUtf8(args->sql), *newRowWriter("table", std::cout));
    db->close();
    return 0;
  };
}

}  // namespace qmxdb
