// DebugCapture: collects the library's debugger output lines while it lives, instead of sending
// them to the system. Lines may arrive from several threads at once.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace qmxdao::test {

class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  // The lines written so far, in order.
  std::vector<std::wstring> lines() const;
  void clear();

 private:
  mutable std::mutex mutex_;
  std::vector<std::wstring> lines_;
};

}  // namespace qmxdao::test
