#include <iostream>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_choice.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

int runVersion(const Arguments& args) {
  DatabaseChoice choice = chooseDatabase(args);
  if (!choice.operands.empty()) throw UsageError("version takes no SQL text");
  existingDatabaseFile(choice.type);
  std::cout << toUtf8(QMXDAO::Utility::GetDBVersion(choice.type)) << '\n';
  return 0;
}

}  // namespace qmxdb
