// Whether one database file is sound: it opens with the database key (a wrong key, a plain
// SQLite file and a file that is no database are told apart), the engine's integrity check
// passes, the page HMACs check out where the engine can check them without reading rows, and
// the schema holds the installation's tables, columns and natural-key indexes. The schema
// version is reported as it stands.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qmxdb {

struct CheckLine {
  std::string check;  // "integrity"
  bool ok = false;
  std::string detail;  // "ok", or what is wrong
};

struct FileCheck {
  std::string file;  // the path, UTF-8
  std::vector<CheckLine> lines;

  bool sound() const;
  // The names of the checks that failed, "integrity, indexes".
  std::string failures() const;
};

// Checks the file at path against the installation schema script schemaSql. Never throws for
// what it finds in the file; each failing step becomes a line.
FileCheck checkDatabaseFile(const std::wstring& path, const char* schemaSql);

// A table of findings per file, as "qmxdb check" prints them, and the one line of verdict.
void printFileChecks(std::ostream& out, const std::vector<FileCheck>& checks);
std::string checkVerdict(const std::vector<FileCheck>& checks);

}  // namespace qmxdb
