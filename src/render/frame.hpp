#pragma once
// FrameModel: what one window shows, as an ordered list of filled rectangles and discs plus
// the box of the weather icon. Built from a sample by build_frame, painted by rasterize.

#include <cstdint>
#include <vector>

#include "config/rgb.hpp"

namespace vessa {

struct Shape {
  std::int32_t x0 = 0;  // left, inclusive
  std::int32_t y0 = 0;  // top, inclusive
  std::int32_t x1 = 0;  // right, exclusive
  std::int32_t y1 = 0;  // bottom, exclusive
  Rgb color;            // straight, not premultiplied
  std::uint8_t alpha = 255;
  bool round = false;   // true: the disc inscribed in the rectangle

  friend bool operator==(const Shape&, const Shape&) = default;
};

struct IconBox {
  std::int32_t x0 = 0;
  std::int32_t y0 = 0;
  std::int32_t x1 = 0;
  std::int32_t y1 = 0;

  friend bool operator==(const IconBox&, const IconBox&) = default;
};

// WeatherCondition number of the icon to draw; this value means "no icon".
inline constexpr std::uint8_t kNoIcon = 255;

struct FrameModel {
  std::vector<Shape> shapes;  // drawn in order, later over earlier
  IconBox icon_box;
  Rgb icon_color;
  std::uint8_t icon_kind = kNoIcon;
  Rgb background;
  std::uint8_t background_alpha = 0;

  friend bool operator==(const FrameModel&, const FrameModel&) = default;
};

}  // namespace vessa
