#include "testing/host_system.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace qmxdao::test {

std::filesystem::path executablePath() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH] = {0};
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return std::filesystem::path(std::wstring(buffer, length));
#else
  return std::filesystem::read_symlink("/proc/self/exe");
#endif
}

std::string quotedForShell(const std::filesystem::path& path) {
#ifdef _WIN32
  return "\"" + path.string() + "\"";
#else
  return "'" + path.string() + "'";
#endif
}

int runCommand(const std::string& command) {
#ifdef _WIN32
  // cmd drops the first and the last quote of its command line: the outer pair keeps the
  // command's own quotes.
  return std::system(("\"" + command + "\"").c_str());
#else
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

}  // namespace qmxdao::test
