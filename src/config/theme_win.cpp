#include "config/theme_win.hpp"

#include <windows.h>

namespace vessa {
namespace {

constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

std::optional<std::uint32_t> read_dword(const wchar_t* key, const wchar_t* value) {
  DWORD data = 0;
  DWORD size = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, key, value, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(data);
}

}  // namespace

std::optional<std::uint32_t> read_system_uses_light_theme() {
  return read_dword(kPersonalizeKey, L"SystemUsesLightTheme");
}

std::optional<std::uint32_t> read_apps_use_light_theme() {
  return read_dword(kPersonalizeKey, L"AppsUseLightTheme");
}

std::optional<std::uint32_t> read_accent_color_value() {
  return read_dword(L"Software\\Microsoft\\Windows\\DWM", L"AccentColor");
}

bool taskbar_is_dark() { return taskbar_dark_from(read_system_uses_light_theme()); }

bool settings_theme_is_dark() { return settings_dark_from(read_apps_use_light_theme()); }

SettingsPalette current_settings_palette() { return settings_palette(settings_theme_is_dark()); }

Rgb accent_color() { return accent_from(read_accent_color_value()); }

}  // namespace vessa
