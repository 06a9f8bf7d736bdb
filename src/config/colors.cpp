#include "config/colors.hpp"

#include <cmath>
#include <string>

namespace vessa {
namespace {

// The UTF-8 forms of the Unicode white-space characters, trimmed around colour texts.
constexpr std::string_view kWhiteSpace[] = {
    "\t", "\n", "\v", "\f", "\r", " ",
    "\xC2\x85",      // U+0085
    "\xC2\xA0",      // U+00A0
    "\xE1\x9A\x80",  // U+1680
    "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82", "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85",
    "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88", "\xE2\x80\x89", "\xE2\x80\x8A",  // U+2000..U+200A
    "\xE2\x80\xA8", "\xE2\x80\xA9",  // U+2028, U+2029
    "\xE2\x80\xAF",                  // U+202F
    "\xE2\x81\x9F",                  // U+205F
    "\xE3\x80\x80",                  // U+3000
};

std::string_view trim_white_space(std::string_view text) {
  for (bool trimmed = true; trimmed && !text.empty();) {
    trimmed = false;
    for (const std::string_view space : kWhiteSpace) {
      if (text.starts_with(space)) {
        text.remove_prefix(space.size());
        trimmed = true;
      }
      if (text.ends_with(space)) {
        text.remove_suffix(space.size());
        trimmed = true;
      }
    }
  }
  return text;
}

int hex_digit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Two characters as a base-16 byte: two digits, or a plus sign and one digit.
std::optional<std::uint8_t> hex_pair(char first, char second) noexcept {
  const int low = hex_digit(second);
  if (low < 0) return std::nullopt;
  if (first == '+') return static_cast<std::uint8_t>(low);
  const int high = hex_digit(first);
  if (high < 0) return std::nullopt;
  return static_cast<std::uint8_t>(high * 16 + low);
}

// Clamps like a comparison chain would: a NaN stays NaN.
float clamp_float(float value, float low, float high) noexcept {
  if (value < low) return low;
  if (value > high) return high;
  return value;
}

// A channel value: rounded half away from zero, clamped to 0..255, NaN as 0.
std::uint8_t to_channel(float value) noexcept {
  const float rounded = std::round(value);
  if (!(rounded > 0.0f)) return 0;
  if (rounded >= 255.0f) return 255;
  return static_cast<std::uint8_t>(rounded);
}

// Truncation toward zero that saturates, with NaN as 0.
int sector_of(float h) noexcept {
  if (std::isnan(h)) return 0;
  if (h >= 2147483647.0f) return 2147483647;
  if (h <= -2147483648.0f) return -2147483647 - 1;
  return static_cast<int>(h);
}

Rgb mix_toward(Rgb color, float target, float amount) noexcept {
  const auto mix = [&](std::uint8_t channel) {
    const float c = static_cast<float>(channel);
    return to_channel(c + (target - c) * amount);
  };
  return Rgb{mix(color.r), mix(color.g), mix(color.b)};
}

}  // namespace

Result<Rgb> parse_color(std::string_view text) {
  std::string_view rest = trim_white_space(text);
  if (rest.starts_with('#')) rest.remove_prefix(1);
  if (rest.size() != 6) return Error("色は #RRGGBB 形式で指定してください: " + std::string(text));
  const auto red = hex_pair(rest[0], rest[1]);
  const auto green = hex_pair(rest[2], rest[3]);
  const auto blue = hex_pair(rest[4], rest[5]);
  if (!red || !green || !blue) return Error("色の解析に失敗しました: " + std::string(text));
  return Rgb{*red, *green, *blue};
}

FamilyHue family_hue(ColorFamily family) noexcept {
  switch (family) {
    case ColorFamily::Mono: return {0.0f, 0.0f};
    case ColorFamily::Red: return {355.0f, 0.55f};
    case ColorFamily::Yellow: return {40.0f, 0.55f};
    case ColorFamily::Green: return {155.0f, 0.55f};
    case ColorFamily::Blue: return {200.0f, 0.55f};
    case ColorFamily::Pink: return {310.0f, 0.55f};
  }
  return {200.0f, 0.55f};
}

std::array<Rgb, 5> family_palette(float hue, float saturation, bool dark) noexcept {
  float start = 0.68f;
  float end = 0.34f;
  if (saturation <= 1.1920929e-7f) {  // the grey family
    start = dark ? 0.95f : 0.10f;
    end = dark ? 0.45f : 0.55f;
  }
  const float s = clamp_float(saturation, 0.0f, 1.0f);
  float h = std::fmod(hue, 360.0f);
  if (h < 0.0f) h += 360.0f;
  h /= 60.0f;
  const int sector = sector_of(h);
  const float f = 1.0f - std::fabs(std::fmod(h, 2.0f) - 1.0f);

  std::array<Rgb, 5> shades;
  for (int i = 0; i < 5; ++i) {
    const float step = static_cast<float>(i) * 0.25f;
    const float l = clamp_float(start + step * (end - start), 0.0f, 1.0f);
    const float c = (1.0f - std::fabs(2.0f * l - 1.0f)) * s;
    const float x = f * c;
    float r = c, g = 0.0f, b = x;  // sector 5 and anything unexpected
    switch (sector) {
      case 0: r = c; g = x; b = 0.0f; break;
      case 1: r = x; g = c; b = 0.0f; break;
      case 2: r = 0.0f; g = c; b = x; break;
      case 3: r = 0.0f; g = x; b = c; break;
      case 4: r = x; g = 0.0f; b = c; break;
      default: break;
    }
    const float m = l - c / 2.0f;
    const auto channel = [m](float base) { return to_channel(clamp_float(base + m, 0.0f, 1.0f) * 255.0f); };
    shades[static_cast<std::size_t>(i)] = Rgb{channel(r), channel(g), channel(b)};
  }
  return shades;
}

Rgb darken_color(Rgb color) noexcept { return mix_toward(color, 0.0f, 0.33f); }

Rgb lighten_color(Rgb color) noexcept { return mix_toward(color, 255.0f, 0.5f); }

ResolvedColors resolve_colors(const Appearance& appearance, bool dark_taskbar) {
  ResolvedColors colors;
  switch (appearance.color_scheme) {
    case ColorScheme::Family: {
      const FamilyHue family = family_hue(appearance.color_family);
      const auto shades = family_palette(family.hue, family.saturation, dark_taskbar);
      colors.cpu = shades[0];
      colors.memory = shades[1];
      colors.disk = shades[2];
      colors.net_rx = shades[3];
      colors.gpu = shades[4];
      colors.net_tx = darken_color(shades[3]);
      colors.net_overlap = lighten_color(shades[3]);
      break;
    }
    case ColorScheme::Custom:
      colors.cpu = appearance.cpu_color;
      colors.memory = appearance.memory_color;
      colors.disk = appearance.disk_color;
      colors.gpu = appearance.gpu_color;
      colors.net_rx = appearance.net_rx_color;
      colors.net_tx = appearance.net_tx_color;
      colors.net_overlap = appearance.net_overlap_color;
      break;
    case ColorScheme::Standard:
    default:
      colors.cpu = StandardColors::cpu;
      colors.memory = StandardColors::memory;
      colors.disk = StandardColors::disk;
      colors.gpu = StandardColors::gpu;
      colors.net_rx = StandardColors::net_rx;
      colors.net_tx = StandardColors::net_tx;
      colors.net_overlap = StandardColors::net_overlap;
      break;
  }
  colors.lamp_read = appearance.disk_lamp_read_color;
  colors.lamp_write = appearance.disk_lamp_write_color;
  colors.lamp_both = appearance.disk_lamp_both_color;
  return colors;
}

}  // namespace vessa
