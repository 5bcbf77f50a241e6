#include "storage/text_codec.h"

#include <utf8.h>

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <type_traits>

#include "storage/engine_error.h"

namespace qmxdao {

static_assert(kRefusedTextCode == SQLITE_MISMATCH);

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Reads one code point from wide text of either width: a surrogate pair (where wchar_t has 16
// bits) as the character it encodes, a lone surrogate as itself. A value that is no UTF-16 code
// unit at all (beyond U+10FFFF or negative, where wchar_t has 32 bits) is refused, or replaced
// when replacing.
char32_t nextCodePoint(const wchar_t*& it, const wchar_t* end, bool replacing) {
  char32_t c = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(*it++));
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0xD800 && c <= 0xDBFF && it != end) {
      char32_t low = static_cast<char16_t>(*it);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        ++it;
        return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      }
    }
  }
  if (replacing && isSurrogate(c)) return kReplacement;
  if (c > 0x10FFFF) {
    if (replacing) return kReplacement;
    wchar_t message[96];
    std::swprintf(message, sizeof message / sizeof message[0],
                  L"text holds 0x%lX, which is no UTF-16 code unit", static_cast<unsigned long>(c));
    throwLayerError(kRefusedTextCode, message);
  }
  return c;
}

// The three-byte form of a surrogate at it (ED A0..BF 80..BF), as a lone one is stored.
bool isSurrogateForm(const char* it, const char* end) {
  auto byte = [&](int i) { return static_cast<unsigned char>(it[i]); };
  return end - it >= 3 && byte(0) == 0xED && byte(1) >= 0xA0 && byte(1) <= 0xBF &&
         (byte(2) & 0xC0) == 0x80;
}

void appendWide(std::wstring& out, char32_t c) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(c));
}

// Encodes length units of text, or those before its first NUL when stopAtNul. A lone surrogate
// takes its own three-byte form, as the engine's UTF-16 conversion stores one that ends a text,
// unless replacing.
void encode(const wchar_t* text, std::size_t length, std::string& out, bool stopAtNul,
            bool replacing = false) {
  out.clear();
  if (text == nullptr) return;
  // Plain ASCII, the common case, narrows unit by unit; the rest is encoded from the first
  // other unit on.
  out.resize(length);
  char* ascii = out.data();
  std::size_t done = 0;
  while (done != length) {
    auto unit = static_cast<std::make_unsigned_t<wchar_t>>(text[done]);
    if (unit >= 0x80 || (unit == 0 && stopAtNul)) break;
    ascii[done++] = static_cast<char>(unit);
  }
  out.resize(done);
  const wchar_t* it = text + done;
  const wchar_t* end = text + length;
  while (it != end) {
    if (stopAtNul && *it == 0) return;
    char32_t c = nextCodePoint(it, end, replacing);
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      utf8::unchecked::append(static_cast<std::uint32_t>(c), std::back_inserter(out));
    }
  }
}

}  // namespace

void toUtf8(const wchar_t* text, std::size_t length, std::string& out) {
  encode(text, length, out, false);
}

void toUtf8UpToNul(const wchar_t* text, std::size_t length, std::string& out) {
  encode(text, length, out, true);
}

std::string toUtf8(const wchar_t* text, std::size_t length) {
  std::string out;
  toUtf8(text, length, out);
  return out;
}

std::string toUtf8(const std::wstring& text) { return toUtf8(text.data(), text.size()); }

std::string toReadableUtf8(const std::wstring& text) {
  std::string out;
  encode(text.data(), text.size(), out, false, true);
  return out;
}

void fromUtf8(const char* text, std::size_t length, std::wstring& out) {
  out.clear();
  if (text == nullptr) return;
  const char* stop = text + length;
  if (std::all_of(text, stop, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    out.assign(text, stop);  // plain ASCII, the common case, widens unit by unit
    return;
  }
  out.reserve(length);
  const char* it = text;
  const char* end = text + length;
  while (it != end) {
    unsigned char lead = static_cast<unsigned char>(*it);
    if (lead < 0x80) {
      out.push_back(static_cast<wchar_t>(lead));
      ++it;
      continue;
    }
    const char* start = it;
    if (isSurrogateForm(it, end)) {
      it += 3;  // one character, read as the engine's UTF-16 conversion reads it
      appendWide(out, kReplacement);
      continue;
    }
    std::uint32_t codePoint = 0;
    if (utf8::internal::validate_next(it, end, codePoint) == utf8::internal::UTF8_OK) {
      appendWide(out, codePoint);
    } else {
      // Skip the one offending byte, as a decoder that replaces each invalid unit does.
      it = start + 1;
      appendWide(out, kReplacement);
    }
  }
}

std::wstring fromUtf8(const char* text, std::size_t length) {
  std::wstring out;
  fromUtf8(text, length, out);
  return out;
}

std::wstring fromUtf8(const std::string& text) { return fromUtf8(text.data(), text.size()); }

}  // namespace qmxdao
