// Conversion between the library's wide text and the engine's UTF-8, for either width of
// wchar_t (UTF-16 on Windows, UTF-32 elsewhere). Distinct texts stay distinct: a lone surrogate
// is written in its own three-byte form, as the engine's UTF-16 conversion stores one at the end
// of a text, and reads back as U+FFFD, as the engine's UTF-16 reads give it. A value that is no
// UTF-16 code unit (beyond U+10FFFF or negative, where wchar_t has 32 bits) is refused with
// CppSQLite3Exception (kRefusedTextCode). Other invalid UTF-8 read from a file becomes U+FFFD.
#pragma once

#include <cstddef>
#include <string>

namespace qmxdao {

// The engine's "datatype mismatch": the code of a refused text.
inline constexpr int kRefusedTextCode = 20;

std::string toUtf8(const wchar_t* text, std::size_t length);
std::string toUtf8(const std::wstring& text);
// The same into out, reusing its memory.
void toUtf8(const wchar_t* text, std::size_t length, std::string& out);
// The same for the units before the first NUL within length: what the text gives when read as
// NUL-terminated, without measuring it first.
void toUtf8UpToNul(const wchar_t* text, std::size_t length, std::string& out);
// For messages and diagnostics: never refuses, every invalid unit becomes U+FFFD.
std::string toReadableUtf8(const std::wstring& text);
std::wstring fromUtf8(const char* text, std::size_t length);
std::wstring fromUtf8(const std::string& text);
// The same into out, reusing its memory.
void fromUtf8(const char* text, std::size_t length, std::wstring& out);

}  // namespace qmxdao
