// The tool's conversions between the library's wide text and UTF-8: for the terminal, for the
// command line and for file paths. Invalid code units become U+FFFD instead of failing.
#pragma once

#include <filesystem>
#include <string>

namespace qmxdb {

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);
// A file path given as wide text, as the library names files (UTF-8 on POSIX).
std::filesystem::path filePath(const std::wstring& path);

}  // namespace qmxdb
