#include "domain/float_text.h"

#include <cmath>

namespace qmxdao {

// The value text is the float's exact decimal value rounded to six decimals (half to even), and
// reading it back gives the double nearest to that decimal. Both steps are exact in doubles:
// a float has 24 significant bits and 10^6 = 2^6 * 15625 needs 14 more, so value * 1e6 is the
// exact product; rounding it to an integer n (half to even, as the text does) is exact too; and
// n / 1e6, both operands exact, is the double nearest to n / 10^6, which is what parsing the
// text gives. The test of this file compares the two over many bit patterns.
double sixDecimals(float value) {
  double widened = static_cast<double>(value);
  if (!std::isfinite(widened)) return widened;
  return std::nearbyint(widened * 1e6) / 1e6;
}

}  // namespace qmxdao
