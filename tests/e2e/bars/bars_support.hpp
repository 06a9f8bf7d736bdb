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
#include "render/canvas.hpp"
#include "render/frame.hpp"

namespace vessa::test {

// Wine shows a layered window's premultiplied pixels as they are (alpha is not blended;
// alpha 1 shows black), so the screen shows exactly the rasterised colour channels.
PixelBuffer expected_pixels(const FrameModel& frame, std::int32_t width, std::int32_t height);

// Compares the part of `expected` that lies on the screen, placed at (x, y). Empty when all
// pixels match; otherwise a description of the first mismatches and their count.
std::string compare_on_screen(const ScreenShot& shot, std::int32_t x, std::int32_t y, const PixelBuffer& expected);

// Looks at the screen until it shows `expected` at (x, y): the display may show a pushed frame
// a moment after the push. The differences of the last look (empty when it matched); that look
// goes to `last` when given.
std::string wait_for_screen(std::int32_t x, std::int32_t y, const PixelBuffer& expected, ScreenShot* last = nullptr,
                            std::chrono::milliseconds timeout = std::chrono::seconds(5));

// Lets `duration` pass while this thread's windows keep receiving their messages.
void pump_for(std::chrono::milliseconds duration);

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
