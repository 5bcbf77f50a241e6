// A float's value as the column-value text writes it (fixed notation, six decimals) and the
// binder reads it back: the float rounded to six decimal places, as a double.
#pragma once

namespace qmxdao {

double sixDecimals(float value);

}  // namespace qmxdao
