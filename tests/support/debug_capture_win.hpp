#pragma once
// The program's --debug lines, caught inside a test process that runs the program's code.

#include <string>
#include <vector>

namespace vessa::test {

// Debug lines written by this process while a capture is alive. Switches diagnostics on.
class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;
  [[nodiscard]] std::vector<std::string> lines() const;
  void clear();
};

}  // namespace vessa::test
