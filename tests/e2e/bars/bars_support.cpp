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
InProcessBar::~InProcessBar() { state_->bar.reset(); }

}  // namespace vessa::test
