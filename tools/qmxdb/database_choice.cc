#include "tools/qmxdb/database_choice.h"

#include <filesystem>
#include <stdexcept>

#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

DatabaseChoice chooseDatabase(const Arguments& args) {
  DatabaseChoice choice;
  for (const std::string& arg : args) {
    if (arg == "--sale") {
      choice.type = QMXDAO::DBNAME_SALE;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else {
      choice.operands.push_back(arg);
    }
  }
  return choice;
}

std::wstring existingDatabaseFile(QMXDAO::enDBNameType type) {
  std::wstring path = QMXDAO::Utility::GetDBName(type);
  if (!std::filesystem::exists(filePath(path))) {
    throw std::runtime_error(toUtf8(path) + " does not exist; run \"qmxdb init\" first");
  }
  return path;
}

}  // namespace qmxdb
