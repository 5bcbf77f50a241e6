#include "tools/qmxdb/text_numbers.h"

#include <charconv>
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

}  // namespace qmxdb
