#include "bars_support.hpp"

#include <sstream>

#include "app/bar_window_win.hpp"
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

void move_pointer(int x, int y) {
  // Input only (no SetCursorPos): the pointer's place and the moves it causes stay in step.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65535 + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65535 + height / 2) / (height - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
}

InProcessBar::InProcessBar(const Config& config, AttachMode mode) : state_(std::make_unique<AppState>()) {
  static const bool registered = BarWindow::register_window_class();
  (void)registered;
  state_->config = config;
  state_->colors = resolve_colors(config.appearance, taskbar_is_dark());
  state_->taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  state_->current_attach_mode = mode;
  state_->bar = std::make_unique<BarWindow>(*state_);
  if (state_->bar->create_for(mode, state_->taskbar)) window_ = state_->bar->hwnd();
  if (window_ != nullptr) ShowWindow(window_, SW_SHOWNA);
}

// Releasing the window object detaches it before destroying it: the program's end (the
// tray icon removed, WM_QUIT posted) is not played in the test process.
InProcessBar::~InProcessBar() { state_->bar.reset(); }

TaskbarTheme::TaskbarTheme() {
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                  nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
}

TaskbarTheme::~TaskbarTheme() {
  if (key_ == nullptr) return;
  RegDeleteValueW(key_, L"SystemUsesLightTheme");
  RegCloseKey(key_);
}

void TaskbarTheme::set_light(bool light) {
  const DWORD value = light ? 1 : 0;
  RegSetValueExW(key_, L"SystemUsesLightTheme", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

}  // namespace vessa::test
