#pragma once
// The Windows theme as the program reads it from the registry. Reads never fail the caller:
// each has a fallback (colors.hpp holds the rules). Nothing is cached; every call reads afresh.

#include <cstdint>
#include <optional>

#include "config/colors.hpp"
#include "config/rgb.hpp"

namespace vessa {

// SystemUsesLightTheme under HKCU\...\Themes\Personalize as a REG_DWORD, or nullopt.
[[nodiscard]] std::optional<std::uint32_t> read_system_uses_light_theme();
// AppsUseLightTheme under the same key, or nullopt.
[[nodiscard]] std::optional<std::uint32_t> read_apps_use_light_theme();
// AccentColor under HKCU\Software\Microsoft\Windows\DWM, or nullopt.
[[nodiscard]] std::optional<std::uint32_t> read_accent_color_value();

// Dark when the value cannot be read or is 0.
[[nodiscard]] bool taskbar_is_dark();

// The settings window's theme: dark only when AppsUseLightTheme reads as 0.
[[nodiscard]] bool settings_theme_is_dark();
// The settings window's palette for the current application theme.
[[nodiscard]] SettingsPalette current_settings_palette();
// The user's accent colour, #0078D4 when it cannot be read.
[[nodiscard]] Rgb accent_color();

}  // namespace vessa
