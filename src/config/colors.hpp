#pragma once
// The colour rules: the "#RRGGBB" text form, the bar colours of the three schemes, the
// generated hue-family shades, and the light/dark rules of the taskbar and of the settings
// window. Everything here is a pure function of plain values; the registry reads that feed
// the theme rules are in theme_win.hpp.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/result.hpp"
#include "config/config.hpp"
#include "config/rgb.hpp"

namespace vessa {

// The colours the bars and lamps are drawn with, in this order.
struct ResolvedColors {
  Rgb cpu;
  Rgb memory;
  Rgb disk;
  Rgb gpu;
  Rgb net_rx;
  Rgb net_tx;
  Rgb net_overlap;
  Rgb lamp_read;
  Rgb lamp_write;
  Rgb lamp_both;

  friend bool operator==(const ResolvedColors&, const ResolvedColors&) = default;
};

// "#1E90FF", "1e90ff" and " #1E90FF " all read as (30, 144, 255). The error message carries
// the input as given, untrimmed.
[[nodiscard]] Result<Rgb> parse_color(std::string_view text);

// The fixed bar colours of the "standard" scheme (also the defaults of the custom colours).
struct StandardColors {
  static constexpr Rgb cpu = rgb_hex(0x47A8D8);
  static constexpr Rgb memory = rgb_hex(0x3B5FB0);
  static constexpr Rgb disk = rgb_hex(0x93C13D);
  static constexpr Rgb gpu = rgb_hex(0xA05FC0);
  static constexpr Rgb net_rx = rgb_hex(0xD6538A);
  static constexpr Rgb net_tx = rgb_hex(0x8F385C);
  static constexpr Rgb net_overlap = rgb_hex(0xEFA6C6);
};

struct FamilyHue {
  float hue = 0.0f;         // degrees
  float saturation = 0.0f;  // 0 .. 1
};
[[nodiscard]] FamilyHue family_hue(ColorFamily family) noexcept;

// Five shades of one hue, lightest first for coloured families. Computed in 32-bit floating
// point so that every build gives the same bytes. Only the grey family depends on `dark`.
[[nodiscard]] std::array<Rgb, 5> family_palette(float hue, float saturation, bool dark) noexcept;

// The network send and overlap colours derived from the receive colour: a third of the way to
// black, and half way to white.
[[nodiscard]] Rgb darken_color(Rgb color) noexcept;
[[nodiscard]] Rgb lighten_color(Rgb color) noexcept;

[[nodiscard]] ResolvedColors resolve_colors(const Appearance& appearance, bool dark_taskbar);

// The taskbar is dark unless SystemUsesLightTheme reads as a non-zero value.
[[nodiscard]] constexpr bool taskbar_dark_from(std::optional<std::uint32_t> system_uses_light_theme) noexcept {
  return !system_uses_light_theme.has_value() || *system_uses_light_theme == 0;
}

// The tray icon's colour when none is configured, and the settings preview's backdrop.
[[nodiscard]] constexpr Rgb tray_icon_color_for(std::optional<Rgb> configured, bool dark_taskbar) noexcept {
  if (configured.has_value()) return *configured;
  return dark_taskbar ? rgb_hex(0xF0F0F0) : rgb_hex(0x202020);
}
[[nodiscard]] constexpr Rgb preview_background(bool dark_taskbar) noexcept {
  return dark_taskbar ? rgb_hex(0x202020) : rgb_hex(0xF3F3F3);
}

// The settings window is dark only when AppsUseLightTheme reads as 0; a failed read gives
// light (unlike the taskbar rule).
[[nodiscard]] constexpr bool settings_dark_from(std::optional<std::uint32_t> apps_use_light_theme) noexcept {
  return apps_use_light_theme.has_value() && *apps_use_light_theme == 0;
}

// The settings window's own colours.
struct SettingsPalette {
  Rgb window_background;
  Rgb control_background;
  Rgb grey1;  // text
  Rgb grey2;  // secondary text
  Rgb grey3;  // frames
  Rgb grey4;  // highlight

  friend constexpr bool operator==(const SettingsPalette&, const SettingsPalette&) = default;
};

[[nodiscard]] constexpr SettingsPalette settings_palette(bool dark) noexcept {
  if (dark) {
    return {rgb_hex(0x202020), rgb_hex(0x2D2D2D), rgb_hex(0xF0F0F0), rgb_hex(0x808080), rgb_hex(0x3D3D3D),
            rgb_hex(0x383838)};
  }
  return {rgb_hex(0xF3F3F3), rgb_hex(0xFFFFFF), rgb_hex(0x1B1B1B), rgb_hex(0x8A8A8A), rgb_hex(0xD9D9D9),
          rgb_hex(0xE5E5E5)};
}

inline constexpr Rgb kDefaultAccentColor = rgb_hex(0x0078D4);

// AccentColor holds red in its lowest byte, then green, then blue; the highest byte is ignored.
[[nodiscard]] constexpr Rgb accent_from(std::optional<std::uint32_t> accent_color_value) noexcept {
  if (!accent_color_value.has_value()) return kDefaultAccentColor;
  const std::uint32_t value = *accent_color_value;
  return Rgb{static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value >> 16)};
}

}  // namespace vessa
