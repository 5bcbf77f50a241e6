// "qmxdb upgrade": brings the files of an older installation up to this installation's schema
// without touching their rows. It adds the natural-key indexes the file lacks (without them
// every lookup of a batch save scans its table) and nothing else: a missing table or column is
// reported, not made.
#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

#include "qmxdao/storage/Utility.h"
#include "storage/connection.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/schema_shape.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {
namespace {

struct UpgradeArguments {
  bool main = false;
  bool sale = false;
};

// Upgrades one file; returns false when it lacks something upgrade does not make.
bool upgradeFile(const ShopFile& file) {
  const std::wstring path = existingDatabaseFile(file.type);
  const std::string name = file.name;
  auto db = qmxdao::openConnection(path, qmxdao::kWriteBusyTimeout);
  const SchemaGaps gaps = findGaps(readSchemaShape(*db), installationShape(file.schemaSql));
  if (gaps.empty()) {
    std::cout << name << ": up to date, nothing to do\n";
    db->close();
    return true;
  }

  // One transaction: every index is added, or none.
  db->execDML(L"begin immediate transaction;");
  const SchemaShape shape = readSchemaShape(*db);
  std::vector<std::string> added;
  for (const IndexShape& index : gaps.indexes) {
    if (!hasColumns(shape, index.table, index.columns)) continue;
    db->execDML(fromUtf8(index.sql + ";").c_str());
    added.push_back(index.name + " on " + describeIndex(index));
  }
  db->execDML(L"commit transaction;");
  db->close();

  for (const std::string& index : added) std::cout << name << ": added index " << index << '\n';
  bool whole = true;
  for (const std::string& table : gaps.tables) {
    std::cout << name << ": lacks table " << table << ", which upgrade does not make\n";
    whole = false;
  }
  for (const std::string& column : gaps.columns) {
    std::cout << name << ": lacks column " << column << ", which upgrade does not make\n";
    whole = false;
  }
  return whole;
}

}  // namespace

CommandRun declareUpgrade(CLI::App& command) {
  auto args = std::make_shared<UpgradeArguments>();
  addOneFileFlags(command, args->main, args->sale);
  return [args] {
    bool whole = true;
    for (const ShopFile& file : chosenFiles(args->main, args->sale)) {
      whole = upgradeFile(file) && whole;
    }
    return whole ? 0 : 1;
  };
}

}  // namespace qmxdb
