#include "tools/qmxdb/database_choice.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <stdexcept>

#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/record_kinds.h"
#include "tools/qmxdb/schema_text.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

void addSaleFlag(CLI::App& command, bool& sale) {
  command.add_flag("--sale", sale, "work on the sales file db/SALE.db instead of db/QMX.db");
}

void addOneFileFlags(CLI::App& command, bool& main, bool& sale) {
  CLI::Option* mainFlag = command.add_flag("--main", main, "only the main file db/QMX.db");
  command.add_flag("--sale", sale, "only the sales file db/SALE.db")->excludes(mainFlag);
}

std::vector<ShopFile> chosenFiles(bool main, bool sale) {
  std::vector<ShopFile> files;
  if (!sale) files.push_back({QMXDAO::DBNAME_MAIN, "QMX.db", mainSchemaSql()});
  if (!main) files.push_back({QMXDAO::DBNAME_SALE, "SALE.db", saleSchemaSql()});
  return files;
}

QMXDAO::enDBNameType fileOfTable(const std::string& table, bool sale) {
  const RecordKind* kind = findRecordKind(table);
  if (kind == nullptr) return chosenFile(sale);
  if (sale && kind->file != QMXDAO::DBNAME_SALE) {
    throw UsageError(table + " is a table of the main file db/QMX.db; leave out --sale");
  }
  return kind->file;
}

std::wstring existingDatabaseFile(QMXDAO::enDBNameType type) {
  std::wstring path = QMXDAO::Utility::GetDBName(type);
  if (!std::filesystem::exists(filePath(path))) {
    throw std::runtime_error(toUtf8(path) + " does not exist; run \"qmxdb init\" first");
  }
  return path;
}

}  // namespace qmxdb
