#include <CLI/CLI.hpp>

#include <iostream>

#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/database_files.h"
#include "tools/qmxdb/utf8_text.h"

namespace qmxdb {

CommandRun declareInit(CLI::App&) {
  return [] {
    // A type that names no file gives the db folder itself, where the library looks for its
    // files.
    const auto folderType = static_cast<QMXDAO::enDBNameType>(QMXDAO::DBNAME_SALE + 1);
    const std::wstring folder = QMXDAO::Utility::GetDBName(folderType);
    createDatabaseFiles(folder);
    std::cout << "created " << toUtf8(folder + L"QMX.db") << '\n'
              << "created " << toUtf8(folder + L"SALE.db") << '\n';
    return 0;
  };
}

}  // namespace qmxdb
