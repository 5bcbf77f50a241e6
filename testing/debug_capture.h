// DebugCapture: collects the library's debugger output lines while it lives, instead of sending
// them to the system. Lines may arrive from several threads at once.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "testing/test_seams.h"

namespace qmxdao::test {

class DebugCapture {
 public:
  DebugCapture() { qmxdao_test_capture_debug(&DebugCapture::add, this); }
  ~DebugCapture() { qmxdao_test_capture_debug(nullptr, nullptr); }
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  // The lines written so far, in order.
  std::vector<std::wstring> lines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.clear();
  }

 private:
  static void QMXDAO_CALL add(void* context, const wchar_t* line, size_t length) {
    auto* capture = static_cast<DebugCapture*>(context);
    std::lock_guard<std::mutex> lock(capture->mutex_);
    capture->lines_.emplace_back(line, length);
  }

  mutable std::mutex mutex_;
  std::vector<std::wstring> lines_;
};

}  // namespace qmxdao::test
