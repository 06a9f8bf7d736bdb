#include "settings/settings_theme_win.hpp"

#include <dwmapi.h>
#include <uxtheme.h>

#include <algorithm>
#include <array>

#include "render/tray_icon_image_win.hpp"

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
  const std::wstring_view name(class_name.data(), static_cast<std::size_t>(std::max(length, 0)));
  const auto is = [name](const wchar_t* wanted) {
    return CompareStringOrdinal(name.data(), static_cast<int>(name.size()), wanted, -1, TRUE) == CSTR_EQUAL;
  };
  const bool field = is(L"Edit") || is(L"ComboBox");
  (void)SetWindowTheme(control, field ? L"DarkMode_CFD" : L"DarkMode_Explorer", nullptr);
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
