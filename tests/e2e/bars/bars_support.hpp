#pragma once
// What the bar tests share: a bar window hosted in the test process itself (for what only the
// window's own state shows: hovering, the drawing surface), with the screen checks, pointer
// and debug capture of the test support.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "debug_capture_win.hpp"
#include "harness_win.hpp"
#include "screen_check_win.hpp"
#include "pointer_win.hpp"
#include "restore_guards_win.hpp"
#include "render/canvas.hpp"
#include "render/frame.hpp"

namespace vessa::test {

// A bar window of class VessaMonitorWindow created in this process with its own AppState,
// which the test keeps, as the application does.
class InProcessBar {
 public:
  InProcessBar(const Config& config, AttachMode mode);
  ~InProcessBar();
  InProcessBar(const InProcessBar&) = delete;
  InProcessBar& operator=(const InProcessBar&) = delete;

  [[nodiscard]] AppState& state() noexcept { return *state_; }
  [[nodiscard]] HWND window() const noexcept { return state_->bar_window(); }

 private:
  std::unique_ptr<AppState> state_;
};

}  // namespace vessa::test
