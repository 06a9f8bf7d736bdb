#include "app/broadcast_listener_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {
namespace {

LRESULT CALLBACK broadcast_listener_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wparam, lparam);
  }
  const auto* state = reinterpret_cast<const AppState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state != nullptr && state->bar_window != nullptr) {
    const bool taskbar_created = state->taskbar_created_message != 0 && message == state->taskbar_created_message;
    if (taskbar_created || message == WM_SETTINGCHANGE || message == WM_DISPLAYCHANGE) {
      // Same thread: the bar window handles it at once, before this returns.
      return SendMessageW(state->bar_window, message, wparam, lparam);
    }
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  return DefWindowProcW(window, message, wparam, lparam);
}

bool register_class_once() {
  static const bool registered = [] {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = broadcast_listener_proc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kBroadcastListenerClass;
    return RegisterClassW(&window_class) != 0;
  }();
  return registered;
}

}  // namespace

UniqueHwnd create_broadcast_listener(AppState& state) {
  if (!register_class_once()) return UniqueHwnd();
  // Hidden, unowned and top-level: it receives broadcasts but shows nothing, not even a
  // taskbar button.
  return UniqueHwnd(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kBroadcastListenerClass, L"VESSA", WS_POPUP,
                                    0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), &state));
}

}  // namespace vessa
