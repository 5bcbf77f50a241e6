// A float column's bound value against the long way through its value text ("%f" written and
// read back): the same double, bit for bit, for any float bit pattern. The suite checks a large
// sample; this target reaches the rest.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>

#include "domain/float_text.h"
#include "fuzz/fuzz_input.h"
#include "storage/text_numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < sizeof(float)) return 0;
  float value;
  std::memcpy(&value, bytes, sizeof value);
  if (!std::isfinite(value)) return 0;
  wchar_t text[64];
  std::swprintf(text, 64, L"%f", static_cast<double>(value));
  const double slow = qmxdao::toDouble(text);
  const double fast = qmxdao::sixDecimals(value);
  FUZZ_CHECK(std::memcmp(&slow, &fast, sizeof fast) == 0);
  return 0;
}
