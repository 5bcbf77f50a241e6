// The conversion between wide text and UTF-8 at the engine's boundary: any bytes and any wide
// code units convert without failing, the results are valid, and valid text survives the round
// trip unchanged.
#include <utf8.h>

#include <cstring>
#include <string>

#include "fuzz/fuzz_input.h"
#include "storage/text_codec.h"

namespace {

using qmxdao::fromUtf8;
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

// Wide text from the application: every unit that is no scalar value becomes U+FFFD.
void checkToUtf8(const std::wstring& wide) {
  const std::string bytes = toUtf8(wide);
  FUZZ_CHECK(utf8::is_valid(bytes.begin(), bytes.end()));
  std::wstring expected;
  for (wchar_t unit : wide) expected.push_back(scalarOrReplacement(unit));
  FUZZ_CHECK(fromUtf8(bytes) == expected);
  FUZZ_CHECK(toUtf8(wide.data(), wide.size()) == bytes);
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
