#pragma once
// The program's own icon: four horizontal rounded bars of different lengths, stacked top to
// bottom, in one colour on a transparent background. This is the portable half: the geometry
// and the pixels for a given size and colour. The Win32 half
// (tray_icon_image_win.hpp) turns the pixels into an HICON.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "config/rgb.hpp"
#include "render/canvas.hpp"

namespace vessa {

// One bar: a capsule of radius `half` whose centre line runs at `y` from `x0` to `x1`.
struct TrayIconBar {
  std::int32_t length = 0;
  double x0 = 0.0;
  double x1 = 0.0;
  double y = 0.0;

  friend bool operator==(const TrayIconBar&, const TrayIconBar&) = default;
};

// All lengths in pixels, derived from the icon's width and height.
struct TrayIconGeometry {
  std::int32_t pad = 0;    // outer margin
  std::int32_t gap = 0;    // between bars
  std::int32_t thick = 0;  // bar thickness
  double half = 0.0;       // thick / 2, the caps' radius
  std::int32_t avail = 0;  // length of the longest bar
  std::int32_t top = 0;    // vertical offset of the first bar
  std::int32_t pitch = 0;  // gap + thick
  std::array<TrayIconBar, 4> bars{};
};

// The largest side the icon is drawn at; anything bigger (or below 1) is refused.
inline constexpr std::int32_t kMaxTrayIconSide = 1024;

[[nodiscard]] TrayIconGeometry tray_icon_geometry(std::int32_t width, std::int32_t height) noexcept;

// Coverage 0..255 of every pixel, rows top to bottom: the maximum over the four bars of
// (inside samples of a 4 x 4 grid) * 255 / 16. Empty for a refused size.
[[nodiscard]] std::vector<std::uint8_t> tray_icon_coverage(std::int32_t width, std::int32_t height);

// The icon's pixels with straight (not premultiplied) alpha, as CreateIconIndirect's icons carry
// it: alpha = coverage and the plain colour wherever the coverage is not 0; 0 elsewhere.
// nullopt for a refused size.
[[nodiscard]] std::optional<PixelBuffer> tray_icon_pixels(std::int32_t width, std::int32_t height, Rgb color);

}  // namespace vessa
