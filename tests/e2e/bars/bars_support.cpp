#include "bars_support.hpp"

#include <sstream>

#include "app/bar_window_win.hpp"
#include "base/debug_output.hpp"
#include "config/colors.hpp"
#include "config/theme_win.hpp"
#include "render/rasterize.hpp"

namespace vessa::test {

PixelBuffer expected_pixels(const FrameModel& frame, std::int32_t width, std::int32_t height) {
  PixelBuffer buffer(width, height);
  rasterize(frame, buffer.canvas());
  return buffer;
}

std::string compare_on_screen(const ScreenShot& shot, std::int32_t x, std::int32_t y, const PixelBuffer& expected) {
  std::ostringstream report;
  int mismatches = 0;
  for (std::int32_t row = 0; row < expected.height(); ++row) {
    for (std::int32_t column = 0; column < expected.width(); ++column) {
      const int sx = x + column;
      const int sy = y + row;
      if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
      const std::uint32_t want = expected.at(column, row) & 0x00FFFFFFu;
      const std::uint32_t got = shot.at(sx, sy);
      if (want != got) {
        if (mismatches < 8) {
          report << "(" << column << "," << row << ") want " << std::hex << want << " got " << got << std::dec << "; ";
        }
        ++mismatches;
      }
    }
  }
  if (mismatches == 0) return {};
  report << mismatches << " pixels differ";
  return report.str();
}

std::string wait_for_screen(std::int32_t x, std::int32_t y, const PixelBuffer& expected, ScreenShot* last,
                            std::chrono::milliseconds timeout) {
  ScreenShot shot;
  std::string differences;
  wait_until(
      [&] {
        shot = capture_screen();
        differences = compare_on_screen(shot, x, y, expected);
        return differences.empty();
      },
      timeout);
  if (last != nullptr) *last = std::move(shot);
  return differences;
}

void pump_for(std::chrono::milliseconds duration) {
  wait_until([] { return false; }, duration);
}

namespace {

std::vector<std::string>& captured() {
  static std::vector<std::string> lines;
  return lines;
}

}  // namespace

InProcessBar::InProcessBar(const Config& config, AttachMode mode) : state_(std::make_unique<AppState>()) {
  static const bool registered = BarWindow::register_window_class();
  (void)registered;
  state_->config = config;
  state_->colors = resolve_colors(config.appearance, taskbar_is_dark());
  state_->taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  state_->current_attach_mode = mode;
  state_->bar = std::make_unique<BarWindow>(*state_);
  if (state_->bar->create_for(mode, state_->taskbar)) ShowWindow(state_->bar->hwnd(), SW_SHOWNA);
}

// The window goes with its object, detached first: no WM_DESTROY work (tray icon, quit) runs.
InProcessBar::~InProcessBar() { state_->bar.reset(); }

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
