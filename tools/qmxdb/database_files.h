// Creating the installation's database files: the tables, indexes and version row of the
// shipped schema, in a new file keyed with the database key.
#pragma once

#include <string>

namespace qmxdb {

// The database key with which the library opens every file.
extern const wchar_t kDatabaseKey[];

// Creates the file at path from a schema script (statements separated by ';'), keyed with key
// (the empty key makes a plain file); a zero-byte file, which holds nothing, is filled. Throws
// std::runtime_error when any other file exists already and CppSQLite3Exception when the engine
// fails; a file it began is removed again.
void createDatabaseFile(const std::wstring& path, const char* schemaSql, const std::wstring& key);

// Creates dbFolder + "QMX.db" and dbFolder + "SALE.db" (dbFolder ends with the folder separator
// and is created when missing), keyed with the database key. Refuses, with std::runtime_error and
// before writing anything, when either file exists and is not of zero bytes.
void createDatabaseFiles(const std::wstring& dbFolder);

}  // namespace qmxdb
