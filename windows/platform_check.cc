// A Windows program that runs the Windows side of the platform layer and the engine-free text
// helpers, built by scripts/run-windows-build.sh with MinGW-w64 and run under wine: the host
// executable's folder, file attributes and file replacement with wide (non-ASCII) paths, the
// active code page, the native wide printf conventions behind Utility::Format, the UTF-16 side
// of the text codec, and the DLL's exported helpers called through their import library.
// Prints one line per check and exits with the number of failed checks.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "qmxdao/storage/Utility.h"
#include "storage/platform.h"
#include "storage/text_codec.h"

namespace {

using QMXDAO::Utility;
namespace platform = qmxdao::platform;

int failures = 0;

void check(bool ok, const char* what) {
  std::printf("%s %s\n", ok ? "ok    " : "FAILED", what);
  if (!ok) ++failures;
}

bool writeBytes(const std::wstring& path, const char* bytes, std::size_t size) {
  std::FILE* file = _wfopen(path.c_str(), L"wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes, 1, size, file) == size;
  return std::fclose(file) == 0 && ok;
}

// Up to count bytes from the start of a file; none when it is absent.
std::string readBytes(const std::wstring& path, std::size_t count) {
  std::FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return std::string();
  std::string bytes(count, '\0');
  bytes.resize(std::fread(bytes.data(), 1, count, file));
  std::fclose(file);
  return bytes;
}

void checkFolders() {
  check(sizeof(wchar_t) == 2, "wchar_t holds UTF-16 code units");
  check(platform::folderSeparator() == L'\\', "the folder separator is a backslash");
  const std::wstring host = platform::hostFolder();
  wchar_t module[MAX_PATH] = {0};
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::wstring exe(module, length);
  check(!host.empty() && host.back() == L'\\', "the host folder ends with a backslash");
  check(
      exe.compare(0, host.size(), host) == 0 && exe.find(L'\\', host.size()) == std::wstring::npos,
      "the host folder is the executable's own folder");
  check(platform::fileExists(exe) && platform::fileExists(host),
        "the executable and its folder exist");
}

void checkFiles() {
  const std::wstring folder = platform::hostFolder();
  const std::wstring file = folder + L"check-\u00e9\u4e2d.tmp";
  const std::wstring other = folder + L"check-other-\u00fc.tmp";
  const char bytes[] = "0123456789abcdefXYZW";
  check(writeBytes(file, bytes, 20), "a file with a non-ASCII wide name is written");
  check(readBytes(file, 100) == std::string(bytes, 20), "it reads back whole");

  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  platform::clearReadOnly(file);
  const DWORD attributes = GetFileAttributesW(file.c_str());
  check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) == 0 &&
            (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
        "clearing read-only keeps the hidden attribute");
  platform::clearReadOnly(folder + L"no-such.tmp");

  check(writeBytes(other, "old", 3), "a second file is written");
  check(platform::replaceFile(file, other), "a file replaces an existing one");
  check(!platform::fileExists(file) && readBytes(other, 100) == std::string(bytes, 20),
        "the replaced file holds the new bytes, the old name is gone");
  platform::removeFile(other);
  check(!platform::fileExists(other), "a removed file is gone");
}

void checkText() {
  const std::string narrow = platform::toNarrowCodePage(L"abc\u00e9\u4e2d");
  std::printf("       active code page %u gives %zu bytes\n", GetACP(), narrow.size());
  check(narrow.compare(0, 3, "abc") == 0, "ASCII keeps its bytes in the active code page");
  if (GetACP() == 1252) check(narrow == "abc\xe9?", "code page 1252: e-acute kept, CJK as '?'");

  const std::wstring face = L"a\U0001F600";
  check(face.size() == 3, "a character beyond the BMP takes a surrogate pair");
  check(qmxdao::toUtf8(face) == "a\xF0\x9F\x98\x80", "a surrogate pair converts to 4 UTF-8 bytes");
  check(qmxdao::fromUtf8("a\xF0\x9F\x98\x80") == face, "4 UTF-8 bytes convert to a surrogate pair");
  check(qmxdao::toUtf8(std::wstring(1, static_cast<wchar_t>(0xD800))) == "\xEF\xBF\xBD",
        "a lone surrogate becomes U+FFFD");

  check(platform::nativeFormat(L"%s %I64d") == L"%s %I64d", "formats are native on Windows");
  const std::wstring formatted = Utility::Format(L"%s|%d|%I64d|%S|%c|%%|%5s|", L"wide\u4e2d", 42,
                                                 -1234567890123LL, "narrow", L'x', L"ab");
  check(formatted == L"wide\u4e2d|42|-1234567890123|narrow|x|%|   ab|",
        "Format reads %s wide, %S narrow, %I64d 64-bit");
  check(Utility::Format(L"[%s]", face.c_str()) == L"[" + face + L"]",
        "Format keeps a surrogate pair");
  check(Utility::Format(nullptr).empty(), "Format of no format is empty");

  wchar_t sql[256];
  Utility::BuildPagerSql(L"ITEM", 20, 3, L"ID", true, nullptr, sql);
  check(std::wcscmp(sql, L"select  * from ITEM  order by ID ASC limit 40,20 ") == 0,
        "BuildPagerSql with the ascending flag");
  Utility::BuildPagerSql(L"ITEM", 1000000, 3000, L"", L"ID DESC", L"ID>5", sql);
  check(std::wcscmp(sql,
                    L"select *,length([upc]) from ITEM  where ID>5  order by ID DESC  limit "
                    L"1000000  offset 2999000000 ") == 0,
        "BuildPagerSql writes a 64-bit offset");
  Utility::BuildCountSql(L"ITEM", L"", sql);
  check(std::wcscmp(sql, L"select count(*) as c from ITEM") == 0, "BuildCountSql");

  const std::wstring now = Utility::GetNowTime();
  check(now.size() == 19 && now[4] == L'-' && now[10] == L' ' && now[13] == L':',
        "GetNowTime is 19 characters of local time");
  check(platform::localTimeText(L"%Y").size() == 4, "wcsftime gives the year");

  std::wstring blanks = L" \t\r\n";
  std::wstring padded = L"\t a b \r\n";
  check(Utility::Trim(blanks) == L" \t\r\n" && Utility::Trim(padded) == L"a b", "Trim");
  std::wstring number = L" 42abc";
  std::wstring big = L"-9223372036854775808";
  std::wstring real = L"1.5e3";
  std::wstring empty;
  std::wstring accented = L"caf\u00e9";
  check(Utility::get_value_int(number) == 42 && Utility::get_value_long(number) == 42,
        "get_value_int and get_value_long");
  check(Utility::get_value_long_long(big) == (-9223372036854775807LL - 1), "get_value_long_long");
  check(Utility::get_value_double(real) == 1500.0 && Utility::get_value_float(real) == 1500.0f,
        "get_value_double and get_value_float");
  check(Utility::get_value_wstring(empty) == nullptr && Utility::get_value_string(empty) == nullptr,
        "the empty text gives null pointers");
  const char* narrowed = Utility::get_value_string(accented);
  check(narrowed != nullptr && std::strncmp(narrowed, "caf", 3) == 0,
        "get_value_string converts to the code page");

  platform::debugOutput(L"platform_check: one line to the debugger output\n");
  std::printf("       an end of line through the wide standard output follows:\n");
  std::fflush(stdout);
  platform::writeEndOfLine();
  check(true, "debugger output and wide end of line do not fail");
}

}  // namespace

int main() {
  checkFolders();
  checkFiles();
  checkText();
  std::printf("%d failed\n", failures);
  return failures;
}
