// What the fuzz targets share: wide text made from fuzz bytes, and a check that stops the run
// with a message (libFuzzer keeps the input that made it stop).
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

namespace qmxdao::fuzz {

// Wide text of up to maxUnits code units. Most units are characters that the text helpers treat
// specially (blanks, digits, signs, '%', letters of conversions); the others are any BMP value
// or any wchar_t value at all, lone surrogates and values beyond U+10FFFF included.
inline std::wstring consumeWide(FuzzedDataProvider& data, std::size_t maxUnits) {
  static const wchar_t kSpecial[] = L" \t\r\n\v\f%0123456789+-.eExXsSdcIlhw6N\"',;";
  const std::size_t units = data.ConsumeIntegralInRange<std::size_t>(0, maxUnits);
  std::wstring text;
  for (std::size_t i = 0; i < units && data.remaining_bytes() > 0; ++i) {
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        text.push_back(kSpecial[data.ConsumeIntegralInRange<std::size_t>(
            0, sizeof kSpecial / sizeof kSpecial[0] - 2)]);
        break;
      case 1:
        text.push_back(static_cast<wchar_t>(data.ConsumeIntegralInRange<int>(0, 0x7F)));
        break;
      case 2:
        text.push_back(static_cast<wchar_t>(data.ConsumeIntegralInRange<int>(0, 0xFFFF)));
        break;
      default:
        text.push_back(static_cast<wchar_t>(data.ConsumeIntegral<std::uint32_t>()));
        break;
    }
  }
  return text;
}

// The same without NUL units, for texts that travel as C strings.
inline std::wstring consumeWideText(FuzzedDataProvider& data, std::size_t maxUnits) {
  std::wstring text = consumeWide(data, maxUnits);
  for (wchar_t& unit : text) {
    if (unit == L'\0') unit = L'0';
  }
  return text;
}

// A valid code point (U+FFFD stands for the invalid ones) as the library's text conversions see
// a wide code unit.
inline wchar_t scalarOrReplacement(wchar_t unit) {
  const auto value = static_cast<std::uint32_t>(unit);
  const bool valid = value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
  return valid ? unit : static_cast<wchar_t>(0xFFFD);
}

// True when the text, up to its first NUL, holds a value that is no UTF-16 code unit (beyond
// U+10FFFF, or negative): the library refuses such text with code 20.
inline bool holdsNonUnit(const wchar_t* text) {
  for (; *text != L'\0'; ++text) {
    if (static_cast<std::uint32_t>(*text) > 0x10FFFF) return true;
  }
  return false;
}

}  // namespace qmxdao::fuzz
