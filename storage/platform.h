// The platform layer: everything the library needs from the operating system, behind one small
// interface. This module is the only place that knows whether it runs on Windows or on POSIX.
#pragma once

#include <cstdarg>
#include <ctime>
#include <functional>
#include <string>

namespace qmxdao::platform {

// The folder of the host executable, ending with the folder separator; empty when the
// executable's path cannot be read.
std::wstring hostFolder();
// The folder separator: a backslash on Windows, '/' elsewhere.
wchar_t folderSeparator();

// Clears the read-only attribute of a file (on POSIX: adds the owner's write bit), leaving every
// other attribute as it was. A path whose attributes cannot be read is left alone.
void clearReadOnly(const std::wstring& path);
bool fileExists(const std::wstring& path);
// Replaces the file at to with the file at from, in one step where the system allows it.
bool replaceFile(const std::wstring& from, const std::wstring& to);
void removeFile(const std::wstring& path);

// The text in the active narrow code page; a character it cannot represent becomes '?'.
std::string toNarrowCodePage(const std::wstring& text);

// printf-style wide formatting with the system's conventions ("%s" a wide string, "%S" a narrow
// one, "%I64d" a 64-bit integer), translated where the C library reads them otherwise. Returns
// false on a formatting error.
bool formatWide(std::wstring& out, const wchar_t* format, va_list args);
// The format text in the conventions of this platform's C library.
std::wstring nativeFormat(const wchar_t* format);

// The local time formatted with wcsftime: now, or at the given calendar time.
std::wstring localTimeText(const wchar_t* format);
std::wstring localTimeText(const wchar_t* format, std::time_t when);

// One line to the debugger output (syslog at debug priority on POSIX).
void debugOutput(const std::wstring& text);
// Writes an end of line to standard output and flushes it, without fixing the orientation of a
// narrow stdout (so that the host's own printf output is never lost).
void writeEndOfLine();

// Test seams; not exported from the library.
void setHostFolderForTesting(const std::wstring& folder);  // empty: the real lookup
using DebugSink = std::function<void(const std::wstring&)>;
void setDebugSinkForTesting(DebugSink sink);  // empty: the real debugger output

}  // namespace qmxdao::platform
