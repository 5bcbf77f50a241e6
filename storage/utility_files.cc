// Utility: where the database files lie, engine set-up and shut-down, re-keying.
#include <memory>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"
#include "storage/connection.h"
#include "storage/platform.h"

namespace QMXDAO {

void Utility::InitDB() {
  CppSQLite3DB::DBConfig(2);  // multi-thread: one connection is used by one thread at a time
  CppSQLite3DB::DBInitialize();
}

void Utility::QuitDB() { CppSQLite3DB::DBShutdown(); }

std::wstring Utility::GetCurrWorkingDir() {
  std::wstring folder = qmxdao::platform::hostFolder();
  // An unreadable executable path leaves the folder empty; back() would then be undefined, so
  // say so the way the string's checked access does.
  if (folder.at(folder.size() - 1) != qmxdao::platform::folderSeparator()) {
    folder.push_back(qmxdao::platform::folderSeparator());
  }
  return folder;
}

std::wstring Utility::GetDBName(enDBNameType type) {
  std::wstring path = GetCurrWorkingDir() + L"db";
  path.push_back(qmxdao::platform::folderSeparator());
  if (type == DBNAME_DEFAULT || type == DBNAME_MAIN) {
    path += L"QMX.db";
  } else if (type == DBNAME_SALE) {
    path += L"SALE.db";
  }
  qmxdao::platform::clearReadOnly(path);
  return path;
}

void Utility::ResetDBKey(std::wstring, std::wstring, enDBNameType type) {
  auto db = std::make_shared<CppSQLite3DB>();
  db->resetKey(GetDBName(type).c_str(), qmxdao::kDatabaseKey, L"");
  db->close();
}

}  // namespace QMXDAO
