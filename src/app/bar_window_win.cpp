#include "app/bar_window_win.hpp"

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "app/tray_icon_win.hpp"
#include "render/taskbar_win.hpp"

namespace vessa {
namespace {

// The tray icon's operations as background work: a failure is dropped, and the next
// change, reattach check or shell restart tries again.
void on_tray_icon(AppState& state, Status (*operation)(TrayIcon&, std::string_view)) {
  if (state.tray) {
    const Status ignored = operation(*state.tray, state.texts().text(TextId::ProductName));
    (void)ignored;
  }
}

bool is_click(WORD event) noexcept {
  return event == WM_LBUTTONDOWN || event == WM_LBUTTONUP || event == WM_RBUTTONDOWN || event == WM_RBUTTONUP ||
         event == WM_MBUTTONDOWN || event == WM_MBUTTONUP || event == WM_CONTEXTMENU || event == NIN_SELECT ||
         event == NIN_KEYSELECT;
}

}  // namespace

bool BarWindow::create_for(AttachMode mode, HWND taskbar) noexcept {
  // A new window has no pixels yet, though it may get the handle of one that had.
  state_.surface.forget_pushed();
  DWORD ex_style = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  DWORD style = WS_POPUP;
  HWND parent = HWND_MESSAGE;
  switch (mode) {
    case AttachMode::Child:
      ex_style = WS_EX_LAYERED;
      style = WS_CHILD | (state_.visible ? WS_VISIBLE : 0);
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
  // A child can go down with its parent before its creation returns (the taskbar closing at
  // that very moment): create() gives no handle then.
  created_ = create(ex_style, style, L"VESSA", 0, 0, 1, 1, parent) != nullptr;
  return created_;
}

void BarWindow::open_context_menu() {
  state_.reset_hover();
  hide_tooltip(state_);
  // A message-only window or a child of the taskbar cannot come to the foreground, and a menu
  // whose owner is not in the foreground stays open after a click elsewhere; the hidden
  // top-level broadcast window owns the menu then.
  HWND owner = state_.broadcast_listener && state_.broadcast_listener->has_window() ? state_.broadcast_listener->hwnd()
                                                                                  : hwnd();
  if (const auto command = show_context_menu(owner, state_.texts(), state_.visible)) {
    // The menu's loop may have seen the shell restart and this window replaced: the command
    // acts on whatever bar window is current now.
    run_command(state_, *command);
  }
}

// NIN_POPUPOPEN: the tray icon is hovered; show the tooltip at the cursor, turned like the
// taskbar the icon sits in.
void BarWindow::show_tooltip_at_cursor() {
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  state_.tooltip_anchor = tray_anchor_ = Placement{cursor.x, cursor.y, 0, 0};
  state_.hovering = true;
  state_.tooltip_dpi.reset();
  const auto band = taskbar_band(find_taskbar());
  const bool vertical = band && (band->right - band->left) < (band->bottom - band->top);
  state_.tooltip_orientation = vertical ? TooltipOrientation::Vertical : TooltipOrientation::Horizontal;
  refresh_tooltip(state_);
}

void BarWindow::on_tray_callback(WORD event) {
  if (swallow_tray_event_ && is_click(event)) {
    const bool pair = *swallow_tray_event_ == event;
    swallow_tray_event_.reset();
    if (pair) return;
  }
  switch (event) {
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
      swallow_tray_event_ = event == WM_CONTEXTMENU ? WORD{WM_RBUTTONUP} : WORD{WM_CONTEXTMENU};
      open_context_menu();
      break;
    case WM_LBUTTONUP:
      open_context_menu();
      break;
    case NIN_POPUPOPEN:
      show_tooltip_at_cursor();
      break;
    case NIN_POPUPCLOSE:
      state_.reset_hover();
      hide_tooltip(state_);
      break;
    default:
      break;
  }
}

void BarWindow::on_destroy() {
  if (!std::exchange(created_, false)) return;  // a failed creation attempt: start-up goes on
  if (!state_.exit_requested && state_.current_attach_mode == AttachMode::Child) {
    replace_when_gone_ = true;
    return;
  }
  end_program(state_);
}

// A child of the taskbar is destroyed with it when the shell goes down. The program carries
// on in a message-only window of the same kind, which the next attach (TaskbarCreated, passed
// on by the broadcast listener, or the reattach timer) makes a child of the new taskbar.
void BarWindow::on_window_gone() noexcept {
  if (!std::exchange(replace_when_gone_, false)) return;
  // The icon belonged to the old window. A shell that went down took it along (the removal
  // fails then); one still running would show it, dead, beside the new window's.
  if (state_.tray) remove_tray_icon(*state_.tray);
  if (!create_for(AttachMode::Child, HWND_MESSAGE)) {
    end_program(state_);  // no replacement: the program ends as if asked to
    return;
  }
  state_.timers = TimerPeriods{};  // the new window has none yet
  set_bar_timers(hwnd(), state_.timers, state_.config);
  state_.taskbar_events.taken();  // a look asked of the old window never ran
  state_.taskbar = nullptr;
  state_.laid_out = false;  // the new window has no picture yet: the next layout draws
  state_.reset_hover();
  hide_tooltip(state_);
  // The new taskbar's TaskbarCreated (or a reattach check just before it) adds the icon for
  // this window.
  if (state_.tray) state_.tray->owner = hwnd();
}

LRESULT BarWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      on_destroy();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CLOSE:
      state_.exit_requested = true;
      return default_handling(message, wparam, lparam);
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
      on_tray_icon(state_, &refresh_tray_icon);
      layout(state_);
      return 0;
    case WM_POWERBROADCAST:
      // Back from sleep the weather timer, overdue, fires before the network is back: fetch
      // once more when it usually is.
      if (wparam == PBT_APMRESUMEAUTOMATIC) set_bar_timers(hwnd(), state_.timers, state_.config, true);
      return TRUE;
    case WM_TIMER:
      switch (wparam) {
        case kUpdateTimer:
          on_update_tick(state_);
          break;
        case kReattachTimer:
          attach(state_);
          on_tray_icon(state_, &add_tray_icon);  // a shell busy at sign-in refused it
          break;
        case kWeatherTimer:
          start_weather_fetch(state_);
          break;
        case kResumeWeatherTimer:
          KillTimer(hwnd(), kResumeWeatherTimer);  // once after each resume
          start_weather_fetch(state_);
          break;
        case kTaskbarRecheckTimer:
          recheck_taskbars(state_);
          break;
        case kButtonScanTimer:
          KillTimer(hwnd(), kButtonScanTimer);
          start_pending_button_scan(state_);
          break;
        default:
          break;
      }
      return 0;
    case WM_MOUSEMOVE:
      // A hover begins only with its leave notification armed; otherwise it would never end.
      if (!state_.hovering && track_mouse_leave(hwnd())) {
        state_.reset_hover();
        state_.hovering = true;
        refresh_tooltip(state_);
      }
      return 0;
    case WM_MOUSELEAVE:
      state_.reset_hover();
      hide_tooltip(state_);
      return 0;
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
      open_context_menu();
      return 0;
    case kTrayCallbackMessage:
      on_tray_callback(LOWORD(lparam));
      return 0;
    case kTaskbarEventMessage:
      taskbar_event_heard(state_);
      return 0;
    case kButtonScanMessage:
      button_scan_finished(state_);
      return 0;
    default:
      break;
  }
  if (state_.taskbar_created_message != 0 && message == state_.taskbar_created_message) {
    // The shell that went down with the icon's tooltip up never sends NIN_POPUPCLOSE.
    if (state_.hovering && tray_anchor_ && state_.tooltip_anchor == tray_anchor_) {
      state_.reset_hover();
      hide_tooltip(state_);
    }
    state_.taskbar = find_taskbar();
    on_tray_icon(state_, &readd_tray_icon);
    attach(state_);
    return 0;
  }
  return default_handling(message, wparam, lparam);
}

void set_bar_timers(HWND window, TimerPeriods& running, const Config& config, bool resumed) {
  if (window == nullptr) return;
  for (const TimerChange& change : timer_changes(running, config, resumed)) {
    if (change.period_ms != 0) {
      SetTimer(window, change.id, change.period_ms, nullptr);
    } else {
      KillTimer(window, change.id);
    }
  }
  running = timer_periods(config);
}

void end_program(AppState& state) {
  state.exit_requested = true;
  if (state.tray) {
    remove_tray_icon(*state.tray);
    state.tray.reset();
  }
  hide_tooltip(state);
  PostQuitMessage(0);
}

void destroy_bar_window(AppState& state) {
  state.exit_requested = true;
  HWND window = state.bar_window();
  if (window == nullptr) return;
  KillTimer(window, kUpdateTimer);
  KillTimer(window, kReattachTimer);
  state.bar->destroy();
}

}  // namespace vessa
