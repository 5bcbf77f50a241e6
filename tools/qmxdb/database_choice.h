// Which of the two database files a command works on: the main file unless "--sale" is given.
#pragma once

#include <string>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"

namespace qmxdb {

struct DatabaseChoice {
  QMXDAO::enDBNameType type = QMXDAO::DBNAME_MAIN;
  Arguments operands;  // the arguments that are not options
};

// Throws UsageError for an option other than "--sale".
DatabaseChoice chooseDatabase(const Arguments& args);

// The path of the chosen file. The engine would create a missing file on opening it, and an
// empty file would then stop "qmxdb init"; so a missing file is an error here.
std::wstring existingDatabaseFile(QMXDAO::enDBNameType type);

}  // namespace qmxdb
