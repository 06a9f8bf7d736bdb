#include "app/bar_window_win.hpp"

#include <memory>

#include "app/app_state_win.hpp"
#include "app/tray_icon_win.hpp"
#include "metrics/metrics_win.hpp"
#include "render/taskbar_win.hpp"
#include "render/tooltip_win.hpp"
#include "weather/weather_win.hpp"

namespace vessa {
namespace {

AppState* state_of(HWND window) {
  return reinterpret_cast<AppState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void reregister_tray_icon(AppState& state) {
  if (state.tray) {
    const Status ignored = add_tray_icon(*state.tray, (*state.texts)[text::kProductName]);
    (void)ignored;  // background work: the next change or shell restart tries again
  }
}

void open_context_menu(AppState& state, HWND window) {
  state.reset_hover();
  hide_tooltip(state);
  // A message-only window or a child of the taskbar cannot come to the foreground, and a menu
  // whose owner is not in the foreground stays open after a click elsewhere; the hidden
  // top-level broadcast window owns the menu then.
  HWND owner = state.broadcast_listener ? state.broadcast_listener.get() : window;
  if (const auto command = show_context_menu(owner, *state.texts, state.visible)) {
    run_command(state, window, *command);
  }
}

// NIN_POPUPOPEN: the tray icon is hovered; show the tooltip at the cursor, turned like the
// taskbar the icon sits in.
void show_tooltip_at_cursor(AppState& state) {
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  state.tooltip_anchor = Placement{cursor.x, cursor.y, 0, 0};
  state.hovering = true;
  state.tooltip_dpi.reset();
  const auto band = taskbar_band(FindWindowW(L"Shell_TrayWnd", nullptr));
  const bool vertical = band && (band->right - band->left) < (band->bottom - band->top);
  state.tooltip_orientation = vertical ? TooltipOrientation::Vertical : TooltipOrientation::Horizontal;
  refresh_tooltip(state);
}

void on_tray_callback(AppState& state, HWND window, LPARAM lparam) {
  switch (LOWORD(lparam)) {
    case WM_CONTEXTMENU:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      open_context_menu(state, window);
      break;
    case NIN_POPUPOPEN:
      show_tooltip_at_cursor(state);
      break;
    case NIN_POPUPCLOSE:
      state.reset_hover();
      hide_tooltip(state);
      break;
    default:
      break;
  }
}

void on_timer(AppState& state, HWND window, WPARAM id) {
  switch (id) {
    case kUpdateTimer:
      sample(state, window);  // draws and refreshes the tooltip only when the sample changed
      drain_weather_results(state, window);
      break;
    case kReattachTimer:
      attach(state, window);
      break;
    case kWeatherTimer:
      start_weather_fetch(state);
      break;
    default:
      break;
  }
}

// A child of the taskbar is destroyed with it when the shell goes down. The program carries
// on in a message-only window of the same kind, which the next attach (TaskbarCreated, passed
// on by the broadcast listener, or the reattach timer) makes a child of the new taskbar.
bool replace_lost_child_window(AppState& state) {
  if (state.exit_requested || state.current_attach_mode != AttachMode::Child) return false;
  HWND replacement = create_bar_window(state, AttachMode::Child, HWND_MESSAGE);
  if (replacement == nullptr) return false;
  state.bar_window = replacement;
  start_bar_timers(replacement, state.timers);
  state.taskbar = nullptr;
  state.placement = Placement{};  // the new window has no picture yet: the next layout draws
  state.reset_hover();
  hide_tooltip(state);
  if (state.tray) {
    // The icon belonged to the old window and went with the old shell.
    state.tray->owner = replacement;
    state.tray->registered = false;
  }
  return true;
}

void on_destroy(HWND window, AppState* state) {
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (!state->owned_by_window) return;  // a failed creation attempt: start-up still owns it
  if (replace_lost_child_window(*state)) return;
  if (state->tray) {
    remove_tray_icon(*state->tray);
    state->tray.reset();
  }
  hide_tooltip(*state);
  std::unique_ptr<AppState> release(state);
  release.reset();
  PostQuitMessage(0);
}

LRESULT handle(AppState& state, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      state.exit_requested = true;
      return DefWindowProcW(window, message, wparam, lparam);
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
      reregister_tray_icon(state);
      layout(state, window);
      return 0;
    case WM_TIMER:
      on_timer(state, window, wparam);
      return 0;
    case WM_MOUSEMOVE:
      if (!state.hovering) {
        state.reset_hover();
        state.hovering = true;
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        refresh_tooltip(state);
      }
      return 0;
    case WM_MOUSELEAVE:
      state.reset_hover();
      hide_tooltip(state);
      return 0;
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
      open_context_menu(state, window);
      return 0;
    case kTrayCallbackMessage:
      on_tray_callback(state, window, lparam);
      return 0;
    default:
      break;
  }
  if (state.taskbar_created_message != 0 && message == state.taskbar_created_message) {
    state.taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    reregister_tray_icon(state);
    attach(state, window);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

LRESULT CALLBACK bar_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcW(window, message, wparam, lparam);
  }
  AppState* state = state_of(window);
  if (state == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_DESTROY) {
    on_destroy(window, state);
    return 0;
  }
  return handle(*state, window, message, wparam, lparam);
}

HWND create_bar_window(AppState& state, AttachMode mode, HWND taskbar) {
  DWORD ex_style = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  DWORD style = WS_POPUP;
  HWND parent = HWND_MESSAGE;
  switch (mode) {
    case AttachMode::Child:
      ex_style = WS_EX_LAYERED;
      style = WS_CHILD | (state.visible ? WS_VISIBLE : 0);
      parent = taskbar;
      break;
    case AttachMode::Overlay:
      ex_style = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
      style = WS_POPUP | WS_VISIBLE;
      parent = nullptr;
      break;
    case AttachMode::TrayOnly:
      break;
  }
  return CreateWindowExW(ex_style, kBarWindowClass, L"VESSA", style, 0, 0, 1, 1, parent, nullptr,
                         GetModuleHandleW(nullptr), &state);
}

void start_bar_timers(HWND window, const TimerPeriods& timers) {
  SetTimer(window, kUpdateTimer, timers.update_ms, nullptr);
  if (timers.reattach_ms != 0) SetTimer(window, kReattachTimer, timers.reattach_ms, nullptr);
  if (timers.weather_ms != 0) SetTimer(window, kWeatherTimer, timers.weather_ms, nullptr);
}

void destroy_bar_window(HWND window) {
  KillTimer(window, kUpdateTimer);
  KillTimer(window, kReattachTimer);
  DestroyWindow(window);
}

}  // namespace vessa
