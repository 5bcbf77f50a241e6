// DebugCapture: collects the library's debugger output lines while it lives, instead of sending
// them to the system. Lines may arrive from several threads at once.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "storage/platform.h"

namespace qmxdao::test {

class DebugCapture {
 public:
  DebugCapture() {
    platform::setDebugSinkForTesting([this](const std::wstring& line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.push_back(line);
    });
  }
  ~DebugCapture() { platform::setDebugSinkForTesting(nullptr); }
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
  mutable std::mutex mutex_;
  std::vector<std::wstring> lines_;
};

}  // namespace qmxdao::test
