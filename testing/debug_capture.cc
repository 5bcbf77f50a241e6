#include "testing/debug_capture.h"

#include "storage/platform.h"

namespace qmxdao::test {

DebugCapture::DebugCapture() {
  platform::setDebugSinkForTesting([this](const std::wstring& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(line);
  });
}

DebugCapture::~DebugCapture() { platform::setDebugSinkForTesting(nullptr); }

std::vector<std::wstring> DebugCapture::lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

void DebugCapture::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.clear();
}

}  // namespace qmxdao::test
