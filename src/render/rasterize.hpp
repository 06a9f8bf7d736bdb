#pragma once
// The software rasteriser: paints a FrameModel into a premultiplied 32-bit canvas with exact
// integer source-over blending. Rectangles have whole-pixel edges; discs are anti-aliased
// with 4 × 4 samples per pixel; the weather icon is drawn into its box last.

#include "render/canvas.hpp"
#include "render/frame.hpp"

namespace vessa {

// Fills every pixel of `canvas` with the background (alpha 0 is drawn as 1, so the window
// never becomes click-through), then blends each shape in order and the weather icon over it.
// Shapes are clipped to the canvas; a canvas without pixels is left alone.
void rasterize(const FrameModel& frame, Canvas canvas);

class WeatherIconCache;
// The same, taking the weather icon's coverage mask from `icon_cache`, which the renderer
// keeps from frame to frame (the pixels are the same).
void rasterize(const FrameModel& frame, Canvas canvas, WeatherIconCache& icon_cache);

}  // namespace vessa
