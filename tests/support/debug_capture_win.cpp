#include "debug_capture_win.hpp"

#include "base/debug_output.hpp"

namespace vessa::test {
namespace {

std::vector<std::string>& captured() {
  static std::vector<std::string> lines;
  return lines;
}

}  // namespace

DebugCapture::DebugCapture() {
  captured().clear();
  debug::enable();
  debug::set_sink([](std::string_view text) { captured().emplace_back(text); });
}

// Once switched on, diagnostics stay on in this process; lines after the capture are dropped.
DebugCapture::~DebugCapture() {
  debug::set_sink([](std::string_view) {});
}

std::vector<std::string> DebugCapture::lines() const { return captured(); }

void DebugCapture::clear() { captured().clear(); }

}  // namespace vessa::test
