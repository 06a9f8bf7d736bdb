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

// The window goes with its object, detached first: no WM_DESTROY work (tray icon, quit) runs.
// Wine makes the bar the active window although it never asks to be, and hands the activation to
// the taskbar when the bar goes. The taskbar's own thread then raises it to the top of its band,
// and would do so over the bar of whichever test comes next, hiding what that test draws and
// taking its pointer. The taskbar's thread answers a message only after taking the activation.
InProcessBar::~InProcessBar() {
  const HWND taskbar = state_->taskbar;
  state_->bar.reset();
  if (taskbar != nullptr) SendMessageTimeoutW(taskbar, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

}  // namespace vessa::test
