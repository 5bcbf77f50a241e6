// Running the qmxdb tool as a separate program in tests: it works on the db folder beside its
// executable, so each test copies the binary (and, on Windows, the library's DLL beside it) into a
// fresh folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "testing/host_system.h"

namespace qmxdb::test {

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A program's text output with the lines ended by "\n": Windows' C library writes "\r\n" to a
// stream in text mode.
inline std::string textOutput(std::string text) {
  if (!qmxdao::test::kOnWindows) return text;
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out.push_back(text[i]);
  }
  return out;
}

inline void writeFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() / ("qmxdb_test_" + std::to_string(random()));
    std::filesystem::create_directories(folder_);
    tool_ = folder_ / std::filesystem::path(QMXDB_BINARY).filename();
    std::filesystem::copy_file(QMXDB_BINARY, tool_);
#ifdef QMXDAO_DLL
    // The library's DLL and the runtime DLLs it shares with the tool.
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(QMXDAO_DLL).parent_path())) {
      if (entry.path().extension() == ".dll") {
        std::filesystem::copy_file(entry.path(), folder_ / entry.path().filename());
      }
    }
#endif
    std::filesystem::permissions(tool_, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  // Runs the copied tool with arguments already quoted for the command interpreter.
  RunResult run(const std::string& args) {
    using qmxdao::test::quotedForShell;
    const std::filesystem::path out = folder_ / "stdout.txt";
    const std::filesystem::path err = folder_ / "stderr.txt";
    RunResult result;
    result.status = qmxdao::test::runCommand(quotedForShell(tool_) + " " + args + " >" +
                                             quotedForShell(out) + " 2>" + quotedForShell(err));
    result.out = textOutput(readFile(out));
    result.err = textOutput(readFile(err));
    return result;
  }

  // A file in the test's folder, written with text; returns its path quoted for the command
  // interpreter.
  std::string file(const std::string& name, const std::string& text) {
    writeFile(folder_ / name, text);
    return qmxdao::test::quotedForShell(folder_ / name);
  }

  std::filesystem::path mainFile() const { return folder_ / "db" / "QMX.db"; }
  std::filesystem::path saleFile() const { return folder_ / "db" / "SALE.db"; }

  std::filesystem::path folder_;
  std::filesystem::path tool_;
};

}  // namespace qmxdb::test
