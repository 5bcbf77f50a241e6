// What the tests need to know of the system they run on, so that the test files themselves stay
// free of platform conditionals.
#pragma once

#include <filesystem>
#include <string>

namespace qmxdao::test {

#ifdef _WIN32
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif

// The running test program's own file.
std::filesystem::path executablePath();

// A path quoted for the command interpreter (sh on POSIX, cmd on Windows).
std::string quotedForShell(const std::filesystem::path& path);

// Runs a command line through the command interpreter; the program's exit code, or -1 when it
// did not exit normally.
int runCommand(const std::string& command);

}  // namespace qmxdao::test
