#include "storage/now_text.h"

#include "storage/platform.h"

namespace qmxdao {

const std::wstring& NowText::current() {
  std::time_t now = std::time(nullptr);
  if (!formatted_ || now != second_) {
    text_ = platform::localTimeText(kNowFormat, now);
    second_ = now;
    formatted_ = true;
  }
  return text_;
}

}  // namespace qmxdao
