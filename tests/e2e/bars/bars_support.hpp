#pragma once
// What the bar tests share: the pixels a frame should show on Wine's screen, comparing a
// screen region against them, moving the real pointer, and a bar window hosted in the test
// process itself (for what only the window's own state shows: hovering, the drawing surface).

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
#include "render/canvas.hpp"
#include "render/frame.hpp"

namespace vessa::test {

// Moves the real pointer (as a user would), so the window under it gets WM_MOUSEMOVE.
void move_pointer(int x, int y);

// A bar window of class VessaMonitorWindow created in this process with its own AppState,
// which the test keeps.
class InProcessBar {
 public:
  InProcessBar(const Config& config, AttachMode mode);
  ~InProcessBar();
  InProcessBar(const InProcessBar&) = delete;
  InProcessBar& operator=(const InProcessBar&) = delete;

  [[nodiscard]] AppState& state() noexcept { return *state_; }
  [[nodiscard]] HWND window() const noexcept { return window_; }

 private:
  std::unique_ptr<AppState> state_;
  HWND window_ = nullptr;
};

// Sets the taskbar's light or dark theme (SystemUsesLightTheme) for the test's duration and
// removes the value afterwards, as Wine's prefix has none.
class TaskbarTheme {
 public:
  TaskbarTheme();
  ~TaskbarTheme();
  TaskbarTheme(const TaskbarTheme&) = delete;
  TaskbarTheme& operator=(const TaskbarTheme&) = delete;
  void set_light(bool light);

 private:
  HKEY key_ = nullptr;
};

}  // namespace vessa::test
