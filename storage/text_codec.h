// Conversion between the library's wide text and the engine's UTF-8, for either width of
// wchar_t (UTF-16 on Windows, UTF-32 elsewhere). Invalid code units never fail: each becomes
// U+FFFD.
#pragma once

#include <cstddef>
#include <string>

namespace qmxdao {

std::string toUtf8(const wchar_t* text, std::size_t length);
std::string toUtf8(const std::wstring& text);
// The same into out, reusing its memory.
void toUtf8(const wchar_t* text, std::size_t length, std::string& out);
// The same for the units before the first NUL within length: what the text gives when read as
// NUL-terminated, without measuring it first.
void toUtf8UpToNul(const wchar_t* text, std::size_t length, std::string& out);
std::wstring fromUtf8(const char* text, std::size_t length);
std::wstring fromUtf8(const std::string& text);
// The same into out, reusing its memory.
void fromUtf8(const char* text, std::size_t length, std::wstring& out);

}  // namespace qmxdao
