#include "storage/connection.h"

#include "storage/engine_access.h"

namespace qmxdao {

const wchar_t kDatabaseKey[] = L"KRD1987";

std::shared_ptr<CppSQLite3DB> openConnection(QMXDAO::enDBNameType type, int busyTimeout,
                                             const wchar_t* key) {
  return openConnection(QMXDAO::Utility::GetDBName(type), busyTimeout, key);
}

std::shared_ptr<CppSQLite3DB> openConnection(const std::wstring& path, int busyTimeout,
                                             const wchar_t* key) {
  auto db = std::make_shared<CppSQLite3DB>();
  EngineAccess::openExisting(*db, path.c_str(), key);
  if (busyTimeout > 0) db->setBusyTimeout(busyTimeout);
  return db;
}

}  // namespace qmxdao
