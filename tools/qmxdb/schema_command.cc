#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <stdexcept>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

struct SchemaArguments {
  bool sale = false;
  std::string table;
};

}  // namespace

CommandRun declareSchema(CLI::App& command) {
  auto args = std::make_shared<SchemaArguments>();
  addSaleFlag(command, args->sale);
  command.add_option("TABLE", args->table, "the table, for example ITEM or SALE_ORDER")->required();
  return [args] {
    const QMXDAO::enDBNameType file = fileOfTable(args->table, args->sale);
    const std::wstring path = existingDatabaseFile(file);
    const std::wstring sql = QMXDAO::Utility::GetCreateSQLByTableName(fromUtf8(args->table), file);
    if (sql.empty()) {
      throw std::runtime_error(toUtf8(path) + " has no table " + args->table);
    }
    std::cout << toUtf8(sql) << ";\n";
    return 0;
  };
}

}  // namespace qmxdb
