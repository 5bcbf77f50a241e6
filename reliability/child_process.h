// The fault tests' child: this test program run again under the preloaded file layer
// (reliability/io_fault_shim.cc), with one disabled test selected and the layer's settings in its
// environment. A child only calls the library and reports through files.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace qmxdao::test {

using Environment = std::map<std::string, std::string>;

// Runs the disabled test `test` of this program in a child with the shim preloaded and
// settings added to the environment; returns the child's exit status (-1 for a signal).
inline int runChild(const std::string& test, const Environment& settings) {
  std::vector<std::string> texts;
  for (char** entry = environ; *entry != nullptr; ++entry) texts.emplace_back(*entry);
  texts.push_back(std::string("LD_PRELOAD=") + QMXDAO_IO_SHIM);
  // Under AddressSanitizer the shim comes before the sanitizer's runtime.
  texts.push_back("ASAN_OPTIONS=verify_asan_link_order=0");
  for (const auto& [name, value] : settings) texts.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& text : texts) envp.push_back(text.data());
  envp.push_back(nullptr);
  std::string filter = "--gtest_filter=" + test;
  std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  std::vector<char*> argv = {self.data(), filter.data(),
                             const_cast<char*>("--gtest_also_run_disabled_tests"),
                             const_cast<char*>("--gtest_brief=1"), nullptr};
  pid_t pid = fork();
  if (pid == 0) {
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    execve(self.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string readText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void writeText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file) << text;
}

}  // namespace qmxdao::test
