#include "testing/sqlcipher_shell.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace qmxdao::test {

#ifdef _WIN32
ShellResult runSqlcipherShell(const std::filesystem::path&, const std::string&) {
  throw std::runtime_error("the stock sqlcipher shell is a Linux program");
}
#else
namespace {

constexpr const char* kShell = "/usr/bin/sqlcipher";

std::filesystem::path scratchFile(const char* suffix) {
  static std::atomic<unsigned> counter{0};
  return std::filesystem::temp_directory_path() /
         ("qmxdao-shell-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + suffix);
}

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

std::string readAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

ShellResult runSqlcipherShell(const std::filesystem::path& database, const std::string& script) {
  const auto scriptFile = scratchFile(".sql");
  const auto errorFile = scratchFile(".err");
  std::ofstream(scriptFile, std::ios::binary) << script;

  const std::string command = std::string(kShell) + " -batch -bail " + quoted(database) + " < " +
                              quoted(scriptFile) + " 2> " + quoted(errorFile);
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + command);

  ShellResult result;
  char buffer[4096];
  std::size_t count;
  while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, count);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.errors = readAll(errorFile);

  std::filesystem::remove(scriptFile);
  std::filesystem::remove(errorFile);
  return result;
}

#endif

}  // namespace qmxdao::test
