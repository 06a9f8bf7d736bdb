#include "render/taskbar_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {

void attach(AppState& /*state*/, HWND /*bar_window*/) {}

void layout(AppState& /*state*/, HWND /*bar_window*/) {}

std::optional<RECT> taskbar_band(HWND taskbar) {
  RECT rect{};
  if (taskbar == nullptr || !GetWindowRect(taskbar, &rect)) return std::nullopt;
  return rect;
}

}  // namespace vessa
