#include "render/taskbar_win.hpp"

#include "app/app_state_win.hpp"
#include "base/debug_output.hpp"
#include "config/colors.hpp"
#include "config/theme_win.hpp"
#include "render/bar_drawing_win.hpp"
#include "render/mirrors_win.hpp"
#include "render/placement.hpp"

namespace vessa {
namespace {

constexpr UINT kZOrderOnly = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
// Windows above the target tried before giving up (some refuse to be a reference point).
constexpr int kRaiseAttempts = 64;

std::optional<RECT> container_of(const AppState& state) {
  if (state.current_attach_mode == AttachMode::Child) {
    RECT client{};
    if (!GetClientRect(state.taskbar, &client)) return std::nullopt;
    return client;
  }
  return taskbar_band(state.taskbar);
}

}  // namespace

std::optional<RECT> taskbar_band(HWND taskbar) {
  if (taskbar == nullptr) return std::nullopt;
  RECT window{};
  const bool have_window = GetWindowRect(taskbar, &window) != 0;
  const std::optional<RECT> fallback = have_window ? std::optional<RECT>(window) : std::nullopt;
  HMONITOR monitor = MonitorFromWindow(taskbar, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return fallback;
  const RECT& m = info.rcMonitor;
  const RECT& w = info.rcWork;
  if (w.bottom < m.bottom) return RECT{m.left, w.bottom, m.right, m.bottom};
  if (m.top < w.top) return RECT{m.left, m.top, m.right, w.top};
  if (w.right < m.right) return RECT{w.right, m.top, m.right, m.bottom};
  if (m.left < w.left) return RECT{m.left, m.top, w.left, m.bottom};
  return fallback;  // an auto-hiding taskbar takes no work area
}

std::optional<RECT> notification_area_rect(HWND taskbar) {
  if (taskbar == nullptr) return std::nullopt;
  HWND tray = FindWindowExW(taskbar, nullptr, L"TrayNotifyWnd", nullptr);
  RECT rect{};
  if (tray == nullptr || !GetWindowRect(tray, &rect) || rect.left >= rect.right) return std::nullopt;
  return rect;
}

void raise_over(HWND window, HWND target) {
  const bool topmost = (GetWindowLongPtrW(target, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
  // Inserting after the window just above the target puts ours between the two.
  HWND above = GetWindow(target, GW_HWNDPREV);
  for (int attempt = 0; attempt < kRaiseAttempts && above != nullptr && above != window; ++attempt) {
    if (SetWindowPos(window, above, 0, 0, 0, 0, kZOrderOnly)) return;
    above = GetWindow(above, GW_HWNDPREV);
  }
}

void attach(AppState& state, HWND bar_window) {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (taskbar == nullptr) {
    state.taskbar = nullptr;
  } else {
    const bool is_new = taskbar != state.taskbar;
    if (is_new) state.taskbar = taskbar;
    switch (state.current_attach_mode) {
      case AttachMode::Child:
        if (is_new && IsWindow(taskbar)) SetParent(bar_window, taskbar);
        if (GetParent(bar_window) != taskbar && IsWindow(taskbar)) SetParent(bar_window, taskbar);
        break;
      case AttachMode::Overlay:
        raise_over(bar_window, taskbar);
        break;
      case AttachMode::TrayOnly:
        break;
    }
  }
  raise_mirrors(state);
  layout(state, bar_window);
}

void layout(AppState& state, HWND bar_window) {
  if (state.current_attach_mode == AttachMode::TrayOnly) {
    state.colors = resolve_colors(state.config.appearance, taskbar_is_dark());
    (void)update_mirrors(state, bar_window);
    return;
  }
  if (state.taskbar == nullptr) return;
  const std::optional<RECT> container = container_of(state);
  if (!container) return;  // the previous placement stays
  const UINT reported_dpi = GetDpiForWindow(state.taskbar);
  const std::uint32_t dpi = reported_dpi != 0 ? reported_dpi : 96;
  state.container_dpi = dpi;

  // In child mode the bar lives in the taskbar's client area, where tray_left places like right.
  std::optional<Rect> tray;
  if (state.current_attach_mode == AttachMode::Overlay) {
    if (const auto area = notification_area_rect(state.taskbar)) tray = to_rect(*area);
  }
  const Rect box = to_rect(*container);
  const bool vertical = box.width() < box.height();
  const PlacementResult result = compute_placement(state.config, box, dpi, state.config.metrics.items.size(), tray);
  const ResolvedColors colors = resolve_colors(state.config.appearance, taskbar_is_dark());
  const bool mirrors_changed = update_mirrors(state, bar_window);

  if (result.geometry == state.geometry && result.placement == state.placement && vertical == state.vertical &&
      colors == state.colors && !mirrors_changed) {
    return;  // a steady taskbar costs no drawing
  }
  state.geometry = result.geometry;
  state.placement = result.placement;
  state.vertical = vertical;
  state.colors = colors;
  if (debug::enabled()) {
    debug::line(format_relayout_line(state.current_attach_mode, vertical, dpi, box, result.geometry, result.placement));
  }
  draw_and_push(state, bar_window);
}

}  // namespace vessa
