// Runs the stock sqlcipher shell on a database file, so that tests can show that files written
// by the library open there with the database key, and that files keyed there open in the
// library.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "testing/host_system.h"

namespace qmxdao::test {

struct ShellResult {
  int exitCode = -1;   // the shell's exit status; -1 when it did not exit normally
  std::string output;  // its standard output: rows in list mode, "a|b" per line
  std::string errors;  // its standard error
};

// Feeds script to "sqlcipher -batch -bail database" and collects what the shell prints. The
// script usually starts with "PRAGMA key='KRD1987';". The shell is Debian's, a Linux program:
// on Windows this throws (scripts/run-windows-tests.sh runs the shell on the files instead).
ShellResult runSqlcipherShell(const std::filesystem::path& database, const std::string& script);

// Tests that run the shell, skipped where it cannot run.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (kOnWindows) GTEST_SKIP() << "the stock sqlcipher shell is a Linux program";
  }
};

}  // namespace qmxdao::test
