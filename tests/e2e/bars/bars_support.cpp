#include "bars_support.hpp"

#include "app/bar_window_win.hpp"
#include "config/colors.hpp"
#include "config/theme_win.hpp"

namespace vessa::test {

InProcessBar::InProcessBar(const Config& config, AttachMode mode) : state_(std::make_unique<AppState>()) {
  static const bool registered = BarWindow::register_class();
  (void)registered;
  state_->config = config;
  state_->colors = resolve_colors(config.appearance, taskbar_is_dark());
  state_->taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  state_->current_attach_mode = mode;
  state_->bar = std::make_unique<BarWindow>(*state_);
  if (state_->bar->create_for(mode, state_->taskbar)) ShowWindow(state_->bar->hwnd(), SW_SHOWNA);
}

namespace {

// A window of this process, off the screen, that takes the activation from a bar about to go.
HWND activation_keeper() {
  static const HWND keeper = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, -100, -100, 1, 1,
                                             nullptr, nullptr, nullptr, nullptr);
  return keeper;
}

}  // namespace

// The window goes with its object, detached first: no WM_DESTROY work (tray icon, quit) runs.
// Wine makes the bar the active window although it never asks to be, and when the active bar
// goes it hands the activation to the window beneath: the taskbar, whose own thread raises it
// later, at times over the bar of the test that comes next, hiding what that test draws and
// taking its pointer. A window of this process takes the activation first, so the taskbar never
// gets it.
InProcessBar::~InProcessBar() {
  if (GetForegroundWindow() == state_->bar_window() && activation_keeper() != nullptr) {
    SetForegroundWindow(activation_keeper());
  }
  state_->bar.reset();
}

}  // namespace vessa::test
