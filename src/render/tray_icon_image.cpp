#include "render/tray_icon_image.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace vessa {
namespace {

// To nearest, halves away from zero. Only called with small, finite arguments.
std::int32_t round_away(double value) noexcept { return static_cast<std::int32_t>(std::round(value)); }

bool size_accepted(std::int32_t width, std::int32_t height) noexcept {
  return width >= 1 && height >= 1 && width <= kMaxTrayIconSide && height <= kMaxTrayIconSide;
}

// The sub-pixel offsets of the 4 x 4 sample grid.
constexpr std::array<double, 4> kSampleOffsets = {0.125, 0.375, 0.625, 0.875};

}  // namespace

TrayIconGeometry tray_icon_geometry(std::int32_t width, std::int32_t height) noexcept {
  // Clamp first so that no arithmetic below can overflow; real callers stay far inside.
  const std::int32_t w = std::clamp(width, -kMaxTrayIconSide, kMaxTrayIconSide);
  const std::int32_t h = std::clamp(height, -kMaxTrayIconSide, kMaxTrayIconSide);

  TrayIconGeometry g;
  g.pad = round_away(0.09 * h);
  if (g.pad < 2) g.pad = 1;
  g.gap = round_away(0.105 * h);
  if (g.gap < 2) g.gap = 1;
  g.thick = (h - 3 * g.gap - 2 * g.pad) / 4;
  if (g.thick < 2) g.thick = 1;
  g.half = g.thick / 2.0;
  g.avail = w - 2 * g.pad;
  if (g.avail < 2) g.avail = 1;
  g.top = (h - 3 * g.gap - 4 * g.thick) / 2;
  if (g.top < 1) g.top = 0;
  g.pitch = g.gap + g.thick;

  const std::array<std::int32_t, 4> lengths = {g.avail, round_away(0.72 * g.avail), round_away(0.45 * g.avail),
                                               round_away(0.86 * g.avail)};
  for (std::size_t k = 0; k < g.bars.size(); ++k) {
    TrayIconBar& bar = g.bars[k];
    bar.length = std::max(lengths[k], g.thick);
    bar.x0 = g.pad + g.half;
    bar.x1 = std::max(bar.x0, bar.length + g.pad - g.half);
    bar.y = static_cast<double>(k) * g.pitch + g.top + g.half;
  }
  return g;
}

std::vector<std::uint8_t> tray_icon_coverage(std::int32_t width, std::int32_t height) {
  if (!size_accepted(width, height)) return {};
  const TrayIconGeometry g = tray_icon_geometry(width, height);
  const auto columns = static_cast<std::size_t>(width);
  std::vector<std::uint8_t> combined(columns * static_cast<std::size_t>(height), 0);
  std::vector<std::uint8_t> mask(combined.size(), 0);
  const double radius_squared = g.half * g.half;
  for (const TrayIconBar& bar : g.bars) {
    for (std::int32_t py = 0; py < height; ++py) {
      for (std::int32_t px = 0; px < width; ++px) {
        unsigned inside = 0;
        for (const double a : kSampleOffsets) {
          for (const double b : kSampleOffsets) {
            const double sx = px + a;
            const double sy = py + b;
            const double dx = sx - std::clamp(sx, bar.x0, bar.x1);
            const double dy = sy - bar.y;
            if (dx * dx + dy * dy <= radius_squared) ++inside;
          }
        }
        mask[static_cast<std::size_t>(py) * columns + static_cast<std::size_t>(px)] =
            static_cast<std::uint8_t>(inside * 255u / 16u);
      }
    }
    for (std::size_t i = 0; i < combined.size(); ++i) combined[i] = std::max(combined[i], mask[i]);
  }
  return combined;
}

std::optional<PixelBuffer> tray_icon_pixels(std::int32_t width, std::int32_t height, Rgb color) {
  const std::vector<std::uint8_t> coverage = tray_icon_coverage(width, height);
  if (coverage.empty()) return std::nullopt;
  PixelBuffer buffer(width, height);
  Canvas canvas = buffer.canvas();
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint8_t alpha =
          coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
      // Straight alpha, as an icon's colour bitmap carries it: the shell blends it over the
      // taskbar as colour * alpha + background * (1 - alpha). Nothing where nothing is covered.
      canvas.at(x, y) = alpha == 0 ? 0u
                                   : std::uint32_t{alpha} << 24 | std::uint32_t{color.r} << 16 |
                                         std::uint32_t{color.g} << 8 | std::uint32_t{color.b};
    }
  }
  return buffer;
}

}  // namespace vessa
