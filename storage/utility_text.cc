// Utility: text helpers that need no database.
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cwchar>
#include <cwctype>
#include <string>

#include "qmxdao/storage/Utility.h"
#include "storage/now_text.h"
#include "storage/platform.h"
#include "storage/text_numbers.h"

namespace QMXDAO {
namespace {

const wchar_t kBlanks[] = L" \n\r\t";

bool present(const wchar_t* text) { return text != nullptr && *text != L'\0'; }

// Appends pieces to the caller's buffer, each where the previous one ended. The builders take no
// buffer size, so nothing here allocates or bounds; the caller makes room.
class BufferWriter {
 public:
  explicit BufferWriter(wchar_t* out) : cursor_(out) { *cursor_ = L'\0'; }

  // A missing piece (a null table name) adds nothing.
  BufferWriter& text(const wchar_t* piece) {
    if (piece == nullptr) return *this;
    while (*piece != L'\0') *cursor_++ = *piece++;
    *cursor_ = L'\0';
    return *this;
  }

  BufferWriter& number(long long value) {
    wchar_t digits[32];
    std::swprintf(digits, 32, L"%lld", value);
    return text(digits);
  }

 private:
  wchar_t* cursor_;
};

// The page's first row; computed in 64 bits so that a large page never wraps around.
long long pageOffset(int pageSize, int pageNumber) {
  return (static_cast<long long>(pageNumber) - 1) * pageSize;
}

}  // namespace

std::wstring Utility::Format(const wchar_t* format, ...) {
  std::wstring result;
  if (format == nullptr) return result;
  va_list args;
  va_start(args, format);
  bool ok = qmxdao::platform::formatWide(result, format, args);
  va_end(args);
  return ok ? result : std::wstring();
}

bool Utility::BuildPagerSql(const wchar_t* tableName, int pageSize, int pageNumber,
                            const wchar_t* orderColumn, bool ascending, const wchar_t* condition,
                            wchar_t* out) {
  BufferWriter sql(out);
  sql.text(L"select  * from ").text(tableName).text(L" ");
  if (present(condition)) sql.text(L" where ").text(condition).text(L" ");
  sql.text(L" order by ").text(orderColumn != nullptr ? orderColumn : L"").text(L" ");
  sql.text(ascending ? L"ASC" : L"DESC");
  sql.text(L" limit ").number(pageOffset(pageSize, pageNumber)).text(L",").number(pageSize);
  sql.text(L" ");
  return true;
}

bool Utility::BuildPagerSql(const wchar_t* tableName, int pageSize, int pageNumber,
                            const wchar_t* /*unused*/, const wchar_t* orderClause,
                            const wchar_t* condition, wchar_t* out) {
  BufferWriter sql(out);
  sql.text(L"select *,length([upc]) from ").text(tableName).text(L" ");
  if (present(condition)) sql.text(L" where ").text(condition).text(L" ");
  if (present(orderClause)) sql.text(L" order by ").text(orderClause).text(L" ");
  sql.text(L" limit ").number(pageSize).text(L"  offset ").number(pageOffset(pageSize, pageNumber));
  sql.text(L" ");
  return true;
}

bool Utility::BuildCountSql(const wchar_t* tableName, const wchar_t* condition, wchar_t* out) {
  BufferWriter sql(out);
  sql.text(L"select count(*) as c from ").text(tableName);
  if (present(condition)) sql.text(L" where ").text(condition).text(L" ");
  return true;
}

std::wstring Utility::GetNowTime() { return qmxdao::platform::localTimeText(qmxdao::kNowFormat); }

std::wstring& Utility::Trim(std::wstring& text) {
  std::size_t first = text.find_first_not_of(kBlanks);
  if (first != std::wstring::npos) text.erase(0, first);
  std::size_t last = text.find_last_not_of(kBlanks);
  if (last != std::wstring::npos) text.erase(last + 1);
  return text;
}

const wchar_t* Utility::get_value_wstring(std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

const char* Utility::get_value_string(std::wstring& text) {
  if (text.empty()) return nullptr;
  thread_local std::string narrow;
  narrow = qmxdao::platform::toNarrowCodePage(text);
  return narrow.c_str();
}

int Utility::get_value_int(std::wstring& text) { return qmxdao::toInt32(text); }

int Utility::get_value_long(std::wstring& text) { return qmxdao::toInt32(text); }

long long Utility::get_value_long_long(std::wstring& text) { return qmxdao::toInt64(text); }

float Utility::get_value_float(std::wstring& text) {
  double value = get_value_double(text);
  // A double beyond the float range becomes an infinity rather than an undefined conversion.
  if (std::isfinite(value) && std::fabs(value) > FLT_MAX) {
    return value > 0 ? INFINITY : -INFINITY;
  }
  return static_cast<float>(value);
}

double Utility::get_value_double(std::wstring& text) { return qmxdao::toDouble(text); }

}  // namespace QMXDAO

namespace qmxdao {

int toInt32(const std::wstring& text) {
  long long value = toInt64(text);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

long long toInt64(const std::wstring& text) { return std::wcstoll(text.c_str(), nullptr, 10); }

// Decimal text goes through std::from_chars, which gives the nearest double on every C runtime:
// some Windows runtimes' wcstod are one unit in the last place off, and a price read on a till
// would then differ from the same price read on Linux. What from_chars does not read the way
// wcstod does (hexadecimal, infinities, values out of range, no number at all) is wcstod's.
double toDouble(const std::wstring& text) {
  std::size_t at = 0;
  while (at < text.size() && std::iswspace(static_cast<wint_t>(text[at]))) ++at;
  const bool negative = at < text.size() && text[at] == L'-';
  if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) ++at;
  std::string decimal;
  for (; at < text.size(); ++at) {
    const wchar_t c = text[at];
    if (!((c >= L'0' && c <= L'9') || c == L'.' || c == L'e' || c == L'E' || c == L'+' ||
          c == L'-')) {
      break;
    }
    decimal += static_cast<char>(c);
  }
  const bool hexadecimal =
      decimal == "0" && at < text.size() && (text[at] == L'x' || text[at] == L'X');
  double value = 0;
  if (!hexadecimal && !decimal.empty() && decimal[0] != '+' && decimal[0] != '-') {
    const auto [end, error] =
        std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
    if (error == std::errc() && end != decimal.data()) return negative ? -value : value;
  }
  return std::wcstod(text.c_str(), nullptr);
}

}  // namespace qmxdao
