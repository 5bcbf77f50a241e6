// Which of the two database files a command works on: the main file unless "--sale" is given,
// and for a record table the file that table lives in.
#pragma once

#include <string>
#include <vector>

#include "qmxdao/storage/Utility.h"

namespace CLI {
class App;
}

namespace qmxdb {

// Declares the "--sale" flag on a command.
void addSaleFlag(CLI::App& command, bool& sale);

// One of the two files: its type, its name in the db folder and its installation schema.
struct ShopFile {
  QMXDAO::enDBNameType type;
  const char* name;  // "QMX.db"
  const char* schemaSql;
};

// Declares "--main" and "--sale" on a command that works on both files unless one is named.
void addOneFileFlags(CLI::App& command, bool& main, bool& sale);
// Both files, or the one that "--main" or "--sale" names.
std::vector<ShopFile> chosenFiles(bool main, bool sale);

inline QMXDAO::enDBNameType chosenFile(bool sale) {
  return sale ? QMXDAO::DBNAME_SALE : QMXDAO::DBNAME_MAIN;
}

// A record table's own file ("--sale" may be given for the two tables of the sales file and
// throws UsageError for the others); any other table (such as "version") is in the chosen file.
QMXDAO::enDBNameType fileOfTable(const std::string& table, bool sale);

// The path of the file. The engine would create a missing file on opening it, and an empty file
// would then stop "qmxdb init"; so a missing file is an error here.
std::wstring existingDatabaseFile(QMXDAO::enDBNameType type);

}  // namespace qmxdb
