// How the engine layer turns a failing engine call into CppSQLite3Exception.
#pragma once

#include "qmxdao/storage/CppSQLite3Exception.h"

struct sqlite3;

namespace qmxdao {

// Throws CppSQLite3Exception with the result code and the connection's current message (the
// engine's text for the code when there is no connection).
[[noreturn]] void throwEngineError(sqlite3* db, int resultCode);
// Throws CppSQLite3Exception with a message of the engine layer's own.
[[noreturn]] void throwLayerError(int resultCode, const wchar_t* message);

}  // namespace qmxdao
