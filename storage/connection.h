// The connection of one operation: a new engine object under shared ownership, opened on the
// existing database file of a type with a key (a missing file is an error, never created) and
// given its busy timeout. The operation closes it when it
// completes; on an exception the last owner releases it without close, which rolls back any
// transaction that was not committed.
#pragma once

#include <memory>
#include <string>

#include "qmxdao/storage/CppSQLite3DB.h"
#include "qmxdao/storage/Utility.h"

namespace qmxdao {

// The database key with which every file is opened.
extern const wchar_t kDatabaseKey[];

// Busy timeouts, in milliseconds, of the writing operations and of all others.
constexpr int kWriteBusyTimeout = 100000;
constexpr int kReadBusyTimeout = 10000;

std::shared_ptr<CppSQLite3DB> openConnection(QMXDAO::enDBNameType type, int busyTimeout,
                                             const wchar_t* key = kDatabaseKey);
std::shared_ptr<CppSQLite3DB> openConnection(const std::wstring& path, int busyTimeout,
                                             const wchar_t* key = kDatabaseKey);

}  // namespace qmxdao
