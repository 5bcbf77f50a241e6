#include "storage/lenient_format.h"

#ifndef _WIN32
#include <sys/types.h>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace qmxdao::platform {
namespace {

std::wstring decodeLeniently(const char* text) {
  std::wstring out;
  if (text == nullptr) return L"(null)";
  std::mbstate_t state{};
  const char* end = text + std::strlen(text);
  while (text < end) {
    wchar_t c = 0;
    std::size_t used = std::mbrtowc(&c, text, static_cast<std::size_t>(end - text), &state);
    if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2)) {
      out.push_back(L'?');
      state = std::mbstate_t{};
      ++text;
    } else {
      out.push_back(c);
      text += used == 0 ? 1 : used;
    }
  }
  return out;
}

// Formats one conversion directive with its star values and argument.
template <typename... Values>
void piece(std::FILE* stream, const std::wstring& directive, Values... values) {
  std::fwprintf(stream, directive.c_str(), values...);
}

template <typename Value>
void withStars(std::FILE* stream, const std::wstring& directive, const int* stars, int starCount,
               Value value) {
  if (starCount == 0) piece(stream, directive, value);
  if (starCount == 1) piece(stream, directive, stars[0], value);
  if (starCount == 2) piece(stream, directive, stars[0], stars[1], value);
}

}  // namespace

bool formatLeniently(std::wstring& out, const wchar_t* format, va_list args) {
  wchar_t* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_wmemstream(&buffer, &size);
  if (stream == nullptr) return false;
  const wchar_t* p = format;
  while (*p != L'\0') {
    if (*p != L'%') {
      std::fputwc(*p++, stream);
      continue;
    }
    if (p[1] == L'%') {
      std::fputwc(L'%', stream);
      p += 2;
      continue;
    }
    std::wstring directive(1, *p++);
    int stars[2] = {0, 0};
    int starCount = 0;
    while (*p != L'\0' && std::wcschr(L"-+ #0'", *p) != nullptr) directive.push_back(*p++);
    auto number = [&] {
      if (*p == L'*') {
        stars[starCount++] = va_arg(args, int);
        directive.push_back(*p++);
      }
      while (*p >= L'0' && *p <= L'9') directive.push_back(*p++);
    };
    number();
    if (*p == L'.') {
      directive.push_back(*p++);
      number();
    }
    std::wstring length;
    while (*p != L'\0' && std::wcschr(L"hlLqjzt", *p) != nullptr) length.push_back(*p++);
    wchar_t conversion = *p;
    if (conversion == L'\0') break;
    ++p;
    directive += length;
    directive.push_back(conversion);
    bool isLong = length == L"l";
    bool isLongLong = length == L"ll" || length == L"q" || length == L"j";
    if (std::wcschr(L"di", conversion) != nullptr) {
      if (isLongLong)
        withStars(stream, directive, stars, starCount, va_arg(args, long long));
      else if (isLong)
        withStars(stream, directive, stars, starCount, va_arg(args, long));
      else if (length == L"z" || length == L"t")
        withStars(stream, directive, stars, starCount, va_arg(args, ssize_t));
      else
        withStars(stream, directive, stars, starCount, va_arg(args, int));
    } else if (std::wcschr(L"ouxX", conversion) != nullptr) {
      if (isLongLong)
        withStars(stream, directive, stars, starCount, va_arg(args, unsigned long long));
      else if (isLong)
        withStars(stream, directive, stars, starCount, va_arg(args, unsigned long));
      else if (length == L"z" || length == L"t")
        withStars(stream, directive, stars, starCount, va_arg(args, std::size_t));
      else
        withStars(stream, directive, stars, starCount, va_arg(args, unsigned));
    } else if (std::wcschr(L"eEfFgGaA", conversion) != nullptr) {
      if (length == L"L")
        withStars(stream, directive, stars, starCount, va_arg(args, long double));
      else
        withStars(stream, directive, stars, starCount, va_arg(args, double));
    } else if (conversion == L'c') {
      if (isLong)
        withStars(stream, directive, stars, starCount, va_arg(args, wint_t));
      else
        withStars(stream, directive, stars, starCount, va_arg(args, int));
    } else if (conversion == L's' && isLong) {
      withStars(stream, directive, stars, starCount, va_arg(args, const wchar_t*));
    } else if (conversion == L's') {
      std::wstring wide = decodeLeniently(va_arg(args, const char*));
      directive.insert(directive.size() - 1, L"l");
      withStars(stream, directive, stars, starCount, wide.c_str());
    } else if (conversion == L'p') {
      withStars(stream, directive, stars, starCount, va_arg(args, void*));
    } else if (conversion == L'n') {
      (void)va_arg(args, void*);  // writes nothing back
    } else {
      std::fputws(directive.c_str(), stream);  // not a conversion: kept as text
    }
  }
  std::fclose(stream);
  out.assign(buffer, size);
  std::free(buffer);
  return true;
}

}  // namespace qmxdao::platform
#endif
