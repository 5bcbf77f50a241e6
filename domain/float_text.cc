#include "domain/float_text.h"

#include <charconv>
#include <cmath>

namespace qmxdao {

double sixDecimals(float value) {
  double widened = static_cast<double>(value);
  if (!std::isfinite(widened)) return widened;
  // Both conversions are exact, as "%f" and wcstod are, so the double is the one the value
  // text would give; only the locale's decimal point, which both sides share, is left out.
  char text[64];
  auto written = std::to_chars(text, text + sizeof text, widened, std::chars_format::fixed, 6);
  double parsed = 0.0;
  std::from_chars(text, written.ptr, parsed);
  return parsed;
}

}  // namespace qmxdao
