// Utility::Format and the translation of the system's wide printf conventions ("%s" a wide
// string, "%S" a narrow one, "%I64d" a 64-bit integer) for the C library.
//
// The translation itself takes any text. Format runs only formats whose arguments are passed
// safely: a format is built from the input out of literal text and conversions of one argument
// shape, and the call passes four arguments of that shape, whatever the format uses. The result
// must equal what the conversions mean, worked out here piece by piece.
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "qmxdao/storage/Utility.h"
#include "storage/platform.h"

namespace {

using QMXDAO::Utility;
using qmxdao::fuzz::consumeWideText;

void checkTranslation(const std::wstring& format) {
  const std::wstring native = qmxdao::platform::nativeFormat(format.c_str());
  FUZZ_CHECK(std::count(native.begin(), native.end(), L'%') ==
             std::count(format.begin(), format.end(), L'%'));
  if (format.find(L'%') == std::wstring::npos) FUZZ_CHECK(native == format);
}

enum class Shape { kWide, kNarrow, kInt, kInt64 };

constexpr int kArguments = 4;

struct Arguments {
  std::wstring wide[kArguments];
  std::string narrow[kArguments];
  int ints[kArguments] = {};
  long long int64s[kArguments] = {};
};

// Pads a converted value to a field width, on the left unless left-justified.
std::wstring padded(std::wstring text, int width, bool left) {
  if (width > static_cast<int>(text.size())) {
    const std::wstring fill(static_cast<std::size_t>(width) - text.size(), L' ');
    text = left ? text + fill : fill + text;
  }
  return text;
}

// One conversion of the shape with its flags, appended to the format, and what it must print.
void addConversion(FuzzedDataProvider& data, Shape shape, const Arguments& args, int index,
                   std::wstring& format, std::wstring& expected) {
  const bool left = data.ConsumeBool();
  const int width = data.ConsumeBool() ? data.ConsumeIntegralInRange<int>(0, 40) : -1;
  const int precision = data.ConsumeBool() ? data.ConsumeIntegralInRange<int>(0, 20) : -1;
  format += L"%";
  if (left) format += L"-";
  if (width >= 0) format += std::to_wstring(width);
  std::wstring value;
  switch (shape) {
    case Shape::kWide:
    case Shape::kNarrow: {
      if (precision >= 0) format += L"." + std::to_wstring(precision);
      format += shape == Shape::kWide ? L"s" : L"S";
      value = shape == Shape::kWide
                  ? args.wide[index]
                  : std::wstring(args.narrow[index].begin(), args.narrow[index].end());
      if (precision >= 0) value = value.substr(0, static_cast<std::size_t>(precision));
      break;
    }
    case Shape::kInt:
      if (data.ConsumeBool()) {
        format += L"d";
        value = std::to_wstring(args.ints[index]);
      } else {
        format += L"c";
        value = std::wstring(1, static_cast<wchar_t>(args.ints[index]));
      }
      break;
    case Shape::kInt64:
      if (data.ConsumeBool()) {
        format += L"I64d";
        value = std::to_wstring(args.int64s[index]);
      } else {
        format += L"I64u";
        value = std::to_wstring(static_cast<unsigned long long>(args.int64s[index]));
      }
      break;
  }
  expected += padded(value, width, left);
}

void checkFormat(FuzzedDataProvider& data) {
  const auto shape = static_cast<Shape>(data.ConsumeIntegralInRange<int>(0, 3));
  Arguments args;
  for (int i = 0; i < kArguments; ++i) {
    args.wide[i] = consumeWideText(data, 16);
    // Narrow arguments are read in the C locale, which knows ASCII only.
    for (wchar_t c : consumeWideText(data, 16)) {
      args.narrow[i].push_back(static_cast<char>((static_cast<unsigned>(c) % 0x7F) + 1));
    }
    args.ints[i] = data.ConsumeIntegral<int>();
    // A character is a code point: 0 would end the text, and -1 is the C library's WEOF, which
    // it refuses (a 16-bit Windows wchar_t would print U+FFFF).
    if (shape == Shape::kInt)
      args.ints[i] = 1 + static_cast<int>(args.ints[i] & 0xFFFFF) % 0x10FFFF;
    args.int64s[i] = data.ConsumeIntegral<long long>();
  }

  std::wstring format;
  std::wstring expected;
  int used = 0;
  while (data.remaining_bytes() > 0) {
    if (data.ConsumeBool()) {
      // Literal text, where "%%" prints one '%'.
      for (wchar_t c : consumeWideText(data, 8)) {
        format += c == L'%' ? L"%%" : std::wstring(1, c);
        expected += c;
      }
    } else if (used < kArguments) {
      addConversion(data, shape, args, used++, format, expected);
    } else {
      break;
    }
  }

  std::wstring result;
  switch (shape) {
    case Shape::kWide:
      result = Utility::Format(format.c_str(), args.wide[0].c_str(), args.wide[1].c_str(),
                               args.wide[2].c_str(), args.wide[3].c_str());
      break;
    case Shape::kNarrow:
      result = Utility::Format(format.c_str(), args.narrow[0].c_str(), args.narrow[1].c_str(),
                               args.narrow[2].c_str(), args.narrow[3].c_str());
      break;
    case Shape::kInt:
      result =
          Utility::Format(format.c_str(), args.ints[0], args.ints[1], args.ints[2], args.ints[3]);
      break;
    case Shape::kInt64:
      result = Utility::Format(format.c_str(), args.int64s[0], args.int64s[1], args.int64s[2],
                               args.int64s[3]);
      break;
  }
  if (result != expected) {
    for (const std::wstring* text : {&format, &expected, &result}) {
      for (wchar_t unit : *text) std::fprintf(stderr, "%x ", static_cast<unsigned>(unit));
      std::fprintf(stderr, "\n");
    }
  }
  FUZZ_CHECK(result == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  checkTranslation(consumeWideText(data, 48));
  FUZZ_CHECK(Utility::Format(nullptr).empty());
  checkFormat(data);
  return 0;
}
