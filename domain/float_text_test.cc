// A float column's bound value, computed without writing the value text, against the long way
// that the value text takes: "%f" (six decimals) written and read back as a double. The two
// must agree bit for bit, or stored prices and amounts would change.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string>

#include "domain/float_text.h"
#include "storage/text_numbers.h"

namespace {

float floatOf(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::uint32_t bitsOfFloat(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::uint64_t bitsOf(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double byValueText(float value) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%f", static_cast<double>(value));
  return qmxdao::toDouble(text);
}

// Counts the patterns whose two values differ, reporting the first few.
class Comparison {
 public:
  void check(std::uint32_t bits) {
    const float value = floatOf(bits);
    if (!std::isfinite(value)) return;  // NaN and infinity are bound as they are
    ++checked_;
    const double fast = qmxdao::sixDecimals(value);
    const double slow = byValueText(value);
    if (bitsOf(fast) == bitsOf(slow)) return;
    if (++differing_ <= 5) {
      ADD_FAILURE() << "float bits 0x" << std::hex << bits << std::dec << " (" << value
                    << "): " << fast << " against " << slow << " through the text";
    }
  }
  long long checked() const { return checked_; }
  long long differing() const { return differing_; }

 private:
  long long checked_ = 0;
  long long differing_ = 0;
};

TEST(SixDecimals, SameDoubleAsTheValueTextForEveryKindOfFloat) {
  Comparison comparison;
  // Every exponent, both signs, the mantissas at and around its boundaries.
  const std::uint32_t mantissas[] = {0,        1,        2,        3,        0x3FFFFF,
                                     0x400000, 0x400001, 0x7FFFFD, 0x7FFFFE, 0x7FFFFF};
  for (std::uint32_t sign = 0; sign < 2; ++sign) {
    for (std::uint32_t exponent = 0; exponent < 255; ++exponent) {
      for (std::uint32_t mantissa : mantissas) {
        comparison.check(sign << 31 | exponent << 23 | mantissa);
      }
      // Few significant bits: the values that fall exactly halfway between two six-decimal
      // texts (such as 1/128 = 0.0078125) are among them.
      for (std::uint32_t top = 0; top < 512; ++top) {
        comparison.check(sign << 31 | exponent << 23 | top << 14);
      }
    }
  }
  // The prices and amounts a shop writes: the floats nearest to whole thousandths, up to 2000.
  for (int thousandths = 0; thousandths <= 2000000; thousandths += 7) {
    comparison.check(bitsOfFloat(static_cast<float>(thousandths / 1000.0)));
  }
  // A large deterministic sample of all bit patterns.
  std::uint32_t state = 12345;
  for (int i = 0; i < (1 << 20); ++i) {
    state = state * 1664525u + 1013904223u;
    comparison.check(state);
  }
  EXPECT_GT(comparison.checked(), 1000000);
  EXPECT_EQ(comparison.differing(), 0);

  // Not finite: widened as it is.
  EXPECT_TRUE(std::isnan(qmxdao::sixDecimals(std::numeric_limits<float>::quiet_NaN())));
  EXPECT_EQ(qmxdao::sixDecimals(-std::numeric_limits<float>::infinity()),
            -std::numeric_limits<double>::infinity());
}

}  // namespace
