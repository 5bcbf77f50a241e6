// NowText: the current local time as Utility::GetNowTime writes it ("%Y-%m-%d %H:%M:%S"), for a
// batch that stamps many records. Every call reads the clock; the text is formatted again only
// when the clock's second has changed, so each stamp is exactly the text GetNowTime would give.
#pragma once

#include <ctime>
#include <string>

namespace qmxdao {

// The format of every time text the library writes.
inline constexpr wchar_t kNowFormat[] = L"%Y-%m-%d %H:%M:%S";

class NowText {
 public:
  const std::wstring& current();

 private:
  std::time_t second_ = 0;
  bool formatted_ = false;
  std::wstring text_;
};

}  // namespace qmxdao
