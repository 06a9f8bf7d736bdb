#include "bars_support.hpp"

#include "app/bar_window_win.hpp"
#include "config/colors.hpp"
#include "config/theme_win.hpp"

namespace vessa::test {

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
