#pragma once
// The weather icon: a condition's line drawing, anti-aliased and composited in one colour
// over the bar bitmap.

#include <cstdint>

#include "config/rgb.hpp"
#include "render/canvas.hpp"
#include "render/frame.hpp"

namespace vessa {

// Draws the icon of condition `kind` (0..7) into `box`, clipped to the canvas; nothing for
// kNoIcon.
void draw_weather_icon(Canvas canvas, const IconBox& box, Rgb color, std::uint8_t kind);

}  // namespace vessa
