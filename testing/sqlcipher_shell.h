// Runs the stock sqlcipher shell on a database file, so that tests can show that files written
// by the library open there with the database key, and that files keyed there open in the
// library.
#pragma once

#include <filesystem>
#include <string>

namespace qmxdao::test {

struct ShellResult {
  int exitCode = -1;   // the shell's exit status; -1 when it did not exit normally
  std::string output;  // its standard output: rows in list mode, "a|b" per line
  std::string errors;  // its standard error
};

// Feeds script to "sqlcipher -batch -bail database" and collects what the shell prints. The
// script usually starts with "PRAGMA key='KRD1987';".
ShellResult runSqlcipherShell(const std::filesystem::path& database, const std::string& script);

}  // namespace qmxdao::test
