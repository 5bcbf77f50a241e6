#include "tools/qmxdb/utf8_text.h"

#include <utf8.h>

#include <cstdint>
#include <iterator>
#include <type_traits>

namespace qmxdb {
namespace {

std::uint32_t codeUnit(wchar_t c) {
  return static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<wchar_t>>(c));
}

bool isSurrogate(std::uint32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

std::string toUtf8(const std::wstring& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = codeUnit(text[i]);
    // Where wchar_t is UTF-16 a code point beyond the first plane comes as a surrogate pair.
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      std::uint32_t low = codeUnit(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (isSurrogate(c) || c > 0x10FFFF) c = 0xFFFD;
    utf8::append(c, std::back_inserter(out));
  }
  return out;
}

std::wstring fromUtf8(const std::string& text) {
  // Most of what the tool reads (CSV fields, SQL) is plain ASCII, which converts one to one.
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::wstring(text.begin(), text.end());
  std::string valid;
  utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(valid));
  std::wstring out;
  if constexpr (sizeof(wchar_t) == 2) {
    utf8::utf8to16(valid.begin(), valid.end(), std::back_inserter(out));
  } else {
    utf8::utf8to32(valid.begin(), valid.end(), std::back_inserter(out));
  }
  return out;
}

std::filesystem::path filePath(const std::wstring& path) {
  return std::filesystem::u8path(toUtf8(path));
}

}  // namespace qmxdb
