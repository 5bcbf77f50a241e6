#include <iostream>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/table_printer.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

int runSql(const Arguments& args) {
  DatabaseChoice choice = chooseDatabase(args);
  if (choice.operands.size() != 1) throw UsageError("sql takes one SQL text");
  existingDatabaseFile(choice.type);
  printTable(std::cout,
             QMXDAO::Utility::SearchBySQL(fromUtf8(choice.operands.front()), choice.type));
  return 0;
}

}  // namespace qmxdb
