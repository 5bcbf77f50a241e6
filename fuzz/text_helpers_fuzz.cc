// Trim, the text-to-value conversions and the SQL text builders on arbitrary wide text. The
// builders write into a buffer of exactly the size their statement needs, so AddressSanitizer
// reports a single character written past it.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "qmxdao/storage/Utility.h"

namespace {

using QMXDAO::Utility;
using qmxdao::fuzz::consumeWide;
using qmxdao::fuzz::consumeWideText;

const wchar_t kBlanks[] = L" \n\r\t";

void checkTrim(const std::wstring& text) {
  std::wstring trimmed = text;
  FUZZ_CHECK(&Utility::Trim(trimmed) == &trimmed);
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::wstring::npos) {
    FUZZ_CHECK(trimmed == text);  // blanks only, or empty: unchanged
    return;
  }
  const std::size_t last = text.find_last_not_of(kBlanks);
  FUZZ_CHECK(trimmed == text.substr(first, last - first + 1));
  std::wstring again = trimmed;
  FUZZ_CHECK(Utility::Trim(again) == trimmed);
}

void checkConversions(std::wstring text) {
  const std::wstring before = text;

  const wchar_t* wide = Utility::get_value_wstring(text);
  FUZZ_CHECK(text.empty() ? wide == nullptr : wide == text.c_str());

  const char* narrow = Utility::get_value_string(text);
  if (text.empty()) {
    FUZZ_CHECK(narrow == nullptr);
  } else {
    // The C locale: ASCII stays, anything else becomes '?', one byte per character.
    FUZZ_CHECK(narrow != nullptr);
    const std::size_t length = std::wcslen(text.c_str());
    FUZZ_CHECK(std::strlen(narrow) == length);
    for (std::size_t i = 0; i < length; ++i) {
      const bool ascii = text[i] > 0 && text[i] < 0x80;
      FUZZ_CHECK(narrow[i] == (ascii ? static_cast<char>(text[i]) : '?'));
    }
  }

  const long long wide64 = Utility::get_value_long_long(text);
  const int wide32 = Utility::get_value_int(text);
  FUZZ_CHECK(wide32 == (wide64 > INT_MAX ? INT_MAX : wide64 < INT_MIN ? INT_MIN : wide64));
  FUZZ_CHECK(Utility::get_value_long(text) == wide32);

  const double real = Utility::get_value_double(text);
  const float single = Utility::get_value_float(text);
  if (std::isnan(real)) {
    FUZZ_CHECK(std::isnan(single));
  } else if (std::fabs(real) > FLT_MAX) {
    FUZZ_CHECK(std::isinf(single) && std::signbit(single) == std::signbit(real));
  } else {
    FUZZ_CHECK(single == static_cast<float>(real));
  }
  FUZZ_CHECK(text == before);  // no conversion changes its argument
}

// Runs a builder into a buffer of exactly expected.size() + 1 characters.
template <typename Build>
void checkBuilder(const std::wstring& expected, Build build) {
  std::vector<wchar_t> buffer(expected.size() + 1, L'#');
  FUZZ_CHECK(build(buffer.data()));
  FUZZ_CHECK(std::wstring(buffer.data()) == expected);
}

void checkBuilders(FuzzedDataProvider& data) {
  const std::wstring table = consumeWideText(data, 12);
  const std::wstring condition = consumeWideText(data, 24);
  const std::wstring order = consumeWideText(data, 12);
  const bool nullCondition = data.ConsumeBool();
  const bool nullOrder = data.ConsumeBool();
  const bool ascending = data.ConsumeBool();
  const int pageSize = data.ConsumeIntegral<int>();
  const int pageNumber = data.ConsumeIntegral<int>();
  const wchar_t* conditionText = nullCondition ? nullptr : condition.c_str();
  const wchar_t* orderText = nullOrder ? nullptr : order.c_str();
  const bool where = !nullCondition && !condition.empty();
  const std::wstring offset =
      std::to_wstring((static_cast<long long>(pageNumber) - 1) * static_cast<long long>(pageSize));

  checkBuilder(
      L"select count(*) as c from " + table + (where ? L" where " + condition + L" " : L""),
      [&](wchar_t* out) { return Utility::BuildCountSql(table.c_str(), conditionText, out); });

  checkBuilder(L"select  * from " + table + L" " + (where ? L" where " + condition + L" " : L"") +
                   L" order by " + (nullOrder ? L"" : order) + L" " +
                   (ascending ? L"ASC" : L"DESC") + L" limit " + offset + L"," +
                   std::to_wstring(pageSize) + L" ",
               [&](wchar_t* out) {
                 return Utility::BuildPagerSql(table.c_str(), pageSize, pageNumber, orderText,
                                               ascending, conditionText, out);
               });

  const bool orderBy = !nullOrder && !order.empty();
  checkBuilder(L"select *,length([upc]) from " + table + L" " +
                   (where ? L" where " + condition + L" " : L"") +
                   (orderBy ? L" order by " + order + L" " : L"") + L" limit " +
                   std::to_wstring(pageSize) + L"  offset " + offset + L" ",
               [&](wchar_t* out) {
                 return Utility::BuildPagerSql(table.c_str(), pageSize, pageNumber, L"unused",
                                               orderText, conditionText, out);
               });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::wstring text = consumeWide(data, 48);
  checkTrim(text);
  checkConversions(text);
  checkBuilders(data);
  return 0;
}
