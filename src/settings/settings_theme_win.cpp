#include "settings/settings_theme_win.hpp"

#include <dwmapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "render/tray_icon_image_win.hpp"
#include "settings/settings_model.hpp"

namespace vessa {

namespace {
// DWMWA_USE_IMMERSIVE_DARK_MODE; older SDK headers do not name it.
constexpr DWORD kDarkTitleBarAttribute = 20;
}  // namespace

void apply_dark_title_bar(HWND window, bool dark) noexcept {
  const BOOL value = dark ? TRUE : FALSE;
  (void)DwmSetWindowAttribute(window, kDarkTitleBarAttribute, &value, sizeof(value));
}

void apply_control_theme(HWND control, bool dark) noexcept {
  if (!dark) return;
  std::array<wchar_t, 32> class_name{};
  const int length = GetClassNameW(control, class_name.data(), static_cast<int>(class_name.size()));
  // Window class names of the common controls are ASCII.
  std::array<char, 32> ascii{};
  for (int i = 0; i < length && i < static_cast<int>(ascii.size()); ++i) {
    const wchar_t c = class_name[static_cast<std::size_t>(i)];
    ascii[static_cast<std::size_t>(i)] = c < 0x80 ? static_cast<char>(c) : '?';
  }
  const auto theme = control_theme(std::string_view(ascii.data(), static_cast<std::size_t>(std::max(length, 0))), dark);
  if (!theme.has_value()) return;
  const std::wstring wide(theme->begin(), theme->end());
  (void)SetWindowTheme(control, wide.c_str(), nullptr);
}

WindowIcons set_window_icons(HWND window, Rgb color) {
  WindowIcons icons;
  const int small_side = std::max(8, GetSystemMetrics(SM_CXSMICON));
  const int large_side = std::max(8, GetSystemMetrics(SM_CXICON));
  if (auto drawn = draw_tray_icon(small_side, small_side, color)) icons.small_icon = std::move(drawn.value());
  if (auto drawn = draw_tray_icon(large_side, large_side, color)) icons.large_icon = std::move(drawn.value());
  if (icons.small_icon) SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icons.small_icon.get()));
  if (icons.large_icon) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icons.large_icon.get()));
  return icons;
}

}  // namespace vessa
