#pragma once
// Placement and Geometry: where the bar window goes and how its bars are drawn.

#include <cstdint>
#include <optional>
#include <string>

namespace vessa {

// The bar window's rectangle in container coordinates, physical pixels.
struct Placement {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  friend bool operator==(const Placement&, const Placement&) = default;
};

// Drawing parameters that go with a placement, in 96-DPI units.
struct Geometry {
  std::uint32_t thickness = 0;
  std::uint32_t band = 0;
  std::optional<std::int32_t> icon_gap;  // present exactly when the weather icon is shown
  std::uint32_t line_inset = 0;

  friend bool operator==(const Geometry&, const Geometry&) = default;
};

// A rectangle as left, top, right, bottom.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  [[nodiscard]] std::int64_t width() const noexcept { return std::int64_t{right} - left; }
  [[nodiscard]] std::int64_t height() const noexcept { return std::int64_t{bottom} - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace vessa
