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
  if (message == WM_CLOSE) {
    // Another program asks the program to end (taskkill without /F closes every top-level
    // window of the process, and this one may be the only one): end it as a closed bar window
    // does. Without a bar window the program is ending already. Never destroyed alone: the
    // program would run on deaf to the shell.
    if (bar_window != nullptr) SendMessageW(bar_window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (bar_window != nullptr) {
    const bool taskbar_created = state_.taskbar_created_message != 0 && message == state_.taskbar_created_message;
    if (taskbar_created || message == WM_SETTINGCHANGE || message == WM_DISPLAYCHANGE || message == WM_DPICHANGED ||
        message == WM_POWERBROADCAST) {
      // Same thread: the bar window handles it at once, before this returns.
      return SendMessageW(bar_window, message, wparam, lparam);
    }
  }
  return default_handling(message, wparam, lparam);
}

}  // namespace vessa
