#include "tools/qmxdb/text_numbers.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace qmxdb {
namespace {

// from_chars takes no leading '+', which spreadsheets write now and then.
const char* skipPlus(const std::string& text) {
  const char* begin = text.data();
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') ++begin;
  return begin;
}

}  // namespace

bool parseWholeInteger(const std::string& text, long long& value) {
  const char* end = text.data() + text.size();
  auto result = std::from_chars(skipPlus(text), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

bool parseWholeDouble(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto result = std::from_chars(skipPlus(text), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

std::string realText(double value) {
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  char text[64];
  auto written = std::to_chars(text, text + sizeof text, value);
  std::string out(text, written.ptr);
  if (out.find_first_of(".en") == std::string::npos) out += ".0";
  return out;
}

}  // namespace qmxdb
