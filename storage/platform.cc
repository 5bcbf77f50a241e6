#include "storage/platform.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <iostream>
#include <mutex>
#include <vector>

#include "storage/lenient_format.h"
#include "storage/text_codec.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>
#endif

namespace qmxdao::platform {
namespace {

struct Seams {
  std::mutex mutex;
  std::wstring hostFolder;
  DebugSink debugSink;
};

Seams& seams() {
  static Seams* instance = new Seams;
  return *instance;
}

#ifndef _WIN32
std::string nativePath(const std::wstring& path) { return toUtf8(path); }
#endif

std::wstring realHostFolder() {
#ifdef _WIN32
  wchar_t buffer[MAX_PATH] = {0};
  DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  std::wstring path(buffer, length);
#else
  std::vector<char> buffer(4096);
  ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return std::wstring();
  std::wstring path = fromUtf8(buffer.data(), static_cast<std::size_t>(length));
#endif
  std::size_t cut = path.find_last_of(folderSeparator());
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

#ifndef _WIN32
// Rewrites one conversion of the system's wide printf conventions for glibc's vswprintf, where
// "%s" and "%c" read narrow arguments and "%I64d" is unknown.
std::wstring translateFormat(const wchar_t* format) {
  std::wstring out;
  const wchar_t* p = format;
  while (*p != L'\0') {
    if (*p != L'%') {
      out.push_back(*p++);
      continue;
    }
    out.push_back(*p++);
    if (*p == L'%') {
      out.push_back(*p++);
      continue;
    }
    while (*p != L'\0' && std::wcschr(L"-+ #0'", *p) != nullptr) out.push_back(*p++);
    while (*p == L'*' || (*p >= L'0' && *p <= L'9')) out.push_back(*p++);
    if (*p == L'.') {
      out.push_back(*p++);
      while (*p == L'*' || (*p >= L'0' && *p <= L'9')) out.push_back(*p++);
    }
    // Length: the system's own forms first, then the standard ones passed on unchanged.
    std::wstring length;
    bool narrow = false;
    bool wide = false;
    if (std::wcsncmp(p, L"I64", 3) == 0) {
      length = L"ll";
      p += 3;
    } else if (std::wcsncmp(p, L"I32", 3) == 0) {
      p += 3;
    } else if (*p == L'I') {
      length = L"z";
      ++p;
    } else if (*p == L'h' && (p[1] == L's' || p[1] == L'S' || p[1] == L'c' || p[1] == L'C')) {
      narrow = true;
      ++p;
    } else if (*p == L'w' || (*p == L'l' && (p[1] == L's' || p[1] == L'c'))) {
      wide = true;
      ++p;
    } else {
      while (*p != L'\0' && std::wcschr(L"hlLqjzt", *p) != nullptr) length.push_back(*p++);
    }
    wchar_t conversion = *p;
    if (conversion == L'\0') break;
    ++p;
    if (conversion == L's' || conversion == L'c') {
      out += narrow ? L"" : L"l";
      out.push_back(conversion);
    } else if (conversion == L'S' || conversion == L'C') {
      out += wide ? L"l" : L"";
      out.push_back(conversion == L'S' ? L's' : L'c');
    } else {
      out += length;
      out.push_back(conversion);
    }
  }
  return out;
}
#endif

}  // namespace

wchar_t folderSeparator() {
#ifdef _WIN32
  return L'\\';
#else
  return L'/';
#endif
}

std::wstring hostFolder() {
  {
    Seams& s = seams();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.hostFolder.empty()) return s.hostFolder;
  }
  return realHostFolder();
}

void clearReadOnly(const std::wstring& path) {
#ifdef _WIN32
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
#else
  struct stat info;
  if (stat(nativePath(path).c_str(), &info) != 0) return;
  if (!S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR) != 0) return;
  chmod(nativePath(path).c_str(), (info.st_mode & 07777) | S_IWUSR);
#endif
}

bool fileExists(const std::wstring& path) {
#ifdef _WIN32
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
  struct stat info;
  return stat(nativePath(path).c_str(), &info) == 0;
#endif
}

bool replaceFile(const std::wstring& from, const std::wstring& to) {
#ifdef _WIN32
  return MoveFileExW(from.c_str(), to.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  if (std::rename(nativePath(from).c_str(), nativePath(to).c_str()) != 0) return false;
  // The new name survives a power cut once the folder is synced. Best effort: the rename is done,
  // and without the sync a power cut leaves the old file whole.
  std::string to8 = nativePath(to);
  std::size_t cut = to8.find_last_of('/');
  std::string folder = cut == std::string::npos ? "." : to8.substr(0, cut + 1);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
  return true;
#endif
}

void removeFile(const std::wstring& path) {
#ifdef _WIN32
  DeleteFileW(path.c_str());
#else
  std::remove(nativePath(path).c_str());
#endif
}

std::string toNarrowCodePage(const std::wstring& text) {
#ifdef _WIN32
  int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                 nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) {
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  }
  return out;
#else
  std::string out;
  std::mbstate_t state{};
  char buffer[MB_LEN_MAX];
  for (wchar_t c : text) {
    std::size_t written = std::wcrtomb(buffer, c, &state);
    // glibc's C locale writes some characters it cannot represent as nothing at all.
    if (written == static_cast<std::size_t>(-1) || (written == 0 && c != L'\0')) {
      state = std::mbstate_t{};
      out.push_back('?');
    } else {
      out.append(buffer, written);
    }
  }
  return out;
#endif
}

std::wstring nativeFormat(const wchar_t* format) {
#ifdef _WIN32
  return format;
#else
  return translateFormat(format);
#endif
}

bool formatWide(std::wstring& out, const wchar_t* format, va_list args) {
#ifdef _WIN32
  va_list counting;
  va_copy(counting, args);
  int count = _vscwprintf(format, counting);
  va_end(counting);
  if (count < 0) return false;
  std::vector<wchar_t> buffer(static_cast<std::size_t>(count) + 1, L'\0');
  int written = _vsnwprintf_s(buffer.data(), buffer.size(), _TRUNCATE, format, args);
  if (written < 0) return false;
  out.assign(buffer.data());
  return true;
#else
  // A wide memory stream counts and keeps the output in one pass: glibc's vswprintf cannot tell
  // a buffer that is too small from a formatting error.
  std::wstring native = translateFormat(format);
  wchar_t* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_wmemstream(&buffer, &size);
  if (stream == nullptr) return false;
  va_list again;
  va_copy(again, args);
  int written = std::vfwprintf(stream, native.c_str(), args);
  std::fclose(stream);
  bool ok = written >= 0;
  if (ok) out.assign(buffer, std::wcslen(buffer));
  std::free(buffer);
  // A narrow text that does not decode fails the whole call: keep the rest of the text.
  if (!ok) ok = formatLeniently(out, native.c_str(), again);
  va_end(again);
  return ok;
#endif
}

std::wstring localTimeText(const wchar_t* format) {
  return localTimeText(format, std::time(nullptr));
}

std::wstring localTimeText(const wchar_t* format, std::time_t when) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  wchar_t buffer[64] = {0};
  std::size_t length = std::wcsftime(buffer, 64, format, &local);
  return std::wstring(buffer, length);
}

void debugOutput(const std::wstring& text) {
  DebugSink sink;
  {
    Seams& s = seams();
    std::lock_guard<std::mutex> lock(s.mutex);
    sink = s.debugSink;
  }
  if (sink) {
    sink(text);
    return;
  }
#ifdef _WIN32
  OutputDebugStringW(text.c_str());
#else
  syslog(LOG_DEBUG, "%s", toReadableUtf8(text).c_str());
#endif
}

void writeEndOfLine() {
#ifdef _WIN32
  std::wcout << std::endl;
#else
  std::cout << std::endl;
#endif
}

void setHostFolderForTesting(const std::wstring& folder) {
  Seams& s = seams();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.hostFolder = folder;
}

void setDebugSinkForTesting(DebugSink sink) {
  Seams& s = seams();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.debugSink = std::move(sink);
}

}  // namespace qmxdao::platform

#ifdef _WIN32
// The library does no work per thread: ask not to be told of threads starting and ending.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(module);
  return TRUE;
}
#endif
