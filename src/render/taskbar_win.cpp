#include "render/taskbar_win.hpp"

namespace vessa {
namespace {

constexpr UINT kZOrderOnly = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
// Windows above the target tried before giving up (some refuse to be a reference point).
constexpr int kRaiseAttempts = 64;

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

}  // namespace vessa
