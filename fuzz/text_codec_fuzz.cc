// The conversion between wide text and UTF-8 at the engine's boundary: any bytes convert without
// failing, wide text converts or (holding a value that is no UTF-16 code unit) is refused, and
// valid text survives the round trip unchanged.
#include <utf8.h>

#include <cstring>
#include <string>

#include "fuzz/fuzz_input.h"
#include "qmxdao/storage/CppSQLite3Exception.h"
#include "storage/text_codec.h"

namespace {

using qmxdao::fromUtf8;
using qmxdao::toReadableUtf8;
using qmxdao::toUtf8;
using qmxdao::fuzz::scalarOrReplacement;

bool onlyScalars(const std::wstring& text) {
  for (wchar_t unit : text) {
    if (scalarOrReplacement(unit) != unit) return false;
  }
  return true;
}

// Bytes read from the engine: invalid sequences become U+FFFD, valid ones come back unchanged.
void checkFromUtf8(const std::string& bytes) {
  const std::wstring wide = fromUtf8(bytes.data(), bytes.size());
  FUZZ_CHECK(onlyScalars(wide));
  FUZZ_CHECK(wide.size() <= bytes.size());
  const std::string back = toUtf8(wide);
  FUZZ_CHECK(utf8::is_valid(back.begin(), back.end()));
  FUZZ_CHECK(fromUtf8(back) == wide);
  if (utf8::is_valid(bytes.begin(), bytes.end())) FUZZ_CHECK(back == bytes);
}

// Wide text from the application: a lone surrogate is written in its own three-byte form and
// reads back as U+FFFD, so distinct texts stay distinct; a value that is no UTF-16 code unit is
// refused with code 20. For messages, every invalid unit becomes U+FFFD.
void checkToUtf8(const std::wstring& wide) {
  std::wstring expected;
  for (wchar_t unit : wide) expected.push_back(scalarOrReplacement(unit));
  const std::string readable = toReadableUtf8(wide);
  FUZZ_CHECK(utf8::is_valid(readable.begin(), readable.end()));
  FUZZ_CHECK(fromUtf8(readable) == expected);
  bool nonUnit = false;
  for (wchar_t unit : wide) nonUnit = nonUnit || static_cast<std::uint32_t>(unit) > 0x10FFFF;
  std::string bytes;
  try {
    bytes = toUtf8(wide);
    FUZZ_CHECK(!nonUnit);
  } catch (const CppSQLite3Exception& e) {
    FUZZ_CHECK(nonUnit && e.errorCode() == qmxdao::kRefusedTextCode);
    return;
  }
  FUZZ_CHECK(fromUtf8(bytes) == expected);
  FUZZ_CHECK(toUtf8(wide.data(), wide.size()) == bytes);
  if (expected == wide) FUZZ_CHECK(bytes == readable);  // valid text: one encoding
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  checkFromUtf8(std::string(reinterpret_cast<const char*>(bytes), size));
  std::wstring units(size / sizeof(wchar_t), L'\0');
  std::memcpy(units.data(), bytes, units.size() * sizeof(wchar_t));
  checkToUtf8(units);
  FuzzedDataProvider data(bytes, size);
  checkToUtf8(qmxdao::fuzz::consumeWide(data, 64));
  FUZZ_CHECK(toUtf8(nullptr, 5).empty() && fromUtf8(nullptr, 5).empty());
  return 0;
}
