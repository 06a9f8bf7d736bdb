#pragma once
// A colour of three 8-bit channels, written "#RRGGBB" with upper-case digits.

#include <cstdint>
#include <string>

namespace vessa {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// Shorthand for colour constants: rgb_hex(0x1E90FF).
[[nodiscard]] constexpr Rgb rgb_hex(std::uint32_t value) noexcept {
  return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value)};
}

// "#1E90FF"
[[nodiscard]] std::string format_color(Rgb color);

}  // namespace vessa
