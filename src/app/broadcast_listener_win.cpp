#include "app/broadcast_listener_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {

BroadcastListener::BroadcastListener(const AppState& state) noexcept : state_(state) {
  // Hidden, unowned and top-level: it receives broadcasts but shows nothing, not even a
  // taskbar button.
  create(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, WS_POPUP, L"VESSA", 0, 0, 0, 0, nullptr);
}

LRESULT BroadcastListener::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  HWND bar_window = state_.bar_window();
  if (bar_window != nullptr) {
    const bool taskbar_created = state_.taskbar_created_message != 0 && message == state_.taskbar_created_message;
    if (taskbar_created || message == WM_SETTINGCHANGE || message == WM_DISPLAYCHANGE) {
      // Same thread: the bar window handles it at once, before this returns.
      return SendMessageW(bar_window, message, wparam, lparam);
    }
  }
  return default_handling(message, wparam, lparam);
}

}  // namespace vessa
