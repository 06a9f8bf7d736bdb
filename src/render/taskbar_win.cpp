#include "render/taskbar_win.hpp"

#include <string_view>

namespace vessa {
namespace {

constexpr UINT kZOrderOnly = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
// Windows above the target tried before giving up (some refuse to be a reference point).
constexpr int kRaiseAttempts = 64;

bool is_topmost(HWND window) noexcept { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// A window of this program or of another instance of it (every class of ours begins with
// "Vessa"): two instances then share the place above the taskbar instead of taking it from
// each other on every tick.
bool is_vessa_window(HWND window) {
  wchar_t name[8] = L"";
  return GetClassNameW(window, name, 8) > 0 && std::wstring_view(name).starts_with(L"Vessa");
}

// Walks up from the taskbar to the window laid over it: whether it is reached, and the
// rectangles of the visible windows of other programs met before it. In the steady state the
// window is the first one met.
void walk_up_to(HWND window, HWND taskbar, TaskbarLook& look) {
  HWND above = GetWindow(taskbar, GW_HWNDPREV);
  for (int step = 0; step < kRaiseAttempts && above != nullptr; ++step) {
    if (above == window) {
      look.window_above = true;
      return;
    }
    RECT rect{};
    if (IsWindowVisible(above) && !is_vessa_window(above) && GetWindowRect(above, &rect)) {
      look.between.push_back(to_rect(rect));
    }
    above = GetWindow(above, GW_HWNDPREV);
  }
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
  SetWindowPos(window, is_topmost(target) ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
  // Inserting after the window just above the target puts ours between the two.
  HWND above = GetWindow(target, GW_HWNDPREV);
  for (int attempt = 0; attempt < kRaiseAttempts && above != nullptr && above != window; ++attempt) {
    if (SetWindowPos(window, above, 0, 0, 0, 0, kZOrderOnly)) return;
    above = GetWindow(above, GW_HWNDPREV);
  }
}

std::optional<Rect> taskbar_rect(HWND taskbar) {
  RECT rect{};
  if (taskbar == nullptr || !GetWindowRect(taskbar, &rect)) return std::nullopt;
  return to_rect(rect);
}

std::optional<TaskbarShape> taskbar_shape(HWND taskbar, bool with_notification_area) {
  const std::optional<Rect> rect = taskbar_rect(taskbar);
  if (!rect) return std::nullopt;
  TaskbarShape shape{*rect, std::nullopt};
  if (with_notification_area) {
    if (const auto area = notification_area_rect(taskbar)) shape.notification_area = to_rect(*area);
  }
  return shape;
}

std::optional<TaskbarLook> look_at_taskbar(HWND window, HWND taskbar, bool with_notification_area) {
  const std::optional<TaskbarShape> shape = taskbar_shape(taskbar, with_notification_area);
  if (!shape) return std::nullopt;
  TaskbarLook look;
  look.taskbar = shape->taskbar;
  look.notification_area = shape->notification_area;
  look.taskbar_visible = IsWindowVisible(taskbar) != FALSE;
  look.taskbar_topmost = is_topmost(taskbar);
  look.window_topmost = is_topmost(window);
  RECT rect{};
  if (GetWindowRect(window, &rect)) look.window = to_rect(rect);
  walk_up_to(window, taskbar, look);
  return look;
}

bool follow_taskbar(HWND window, HWND taskbar, const std::optional<TaskbarShape>& laid_out_over,
                    bool with_notification_area, bool shown) {
  const std::optional<TaskbarLook> look = look_at_taskbar(window, taskbar, with_notification_area);
  if (!look) return false;  // the taskbar went: the shell restart or display change that took it lays out
  const FollowSteps steps = follow_steps(laid_out_over, *look);
  const bool show = shown && steps.shown;
  if ((IsWindowVisible(window) != FALSE) != show) ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
  if (steps.raise) raise_over(window, taskbar);
  return steps.layout;
}

}  // namespace vessa
