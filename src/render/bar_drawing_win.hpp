#pragma once
// Drawing the bars into their layered windows: the frame of the last sample is rasterised
// into the window's persistent DIB section and handed over with UpdateLayeredWindow, which
// also moves and sizes the window to its placement.

#include <windows.h>

#include "render/frame.hpp"
#include "render/geometry.hpp"
#include "render/render_surface_win.hpp"

namespace vessa {

class WeatherIconCache;

// Renders `frame` into `surface` (re-made only when the size changes) and pushes it to
// `window` at `placement`; a width or height below 1 is pushed as 1. A failed DC or DIB
// draws nothing this time; a failed UpdateLayeredWindow is ignored. With `icon_cache`, the
// weather icon's coverage comes from it. The frame `window` was last given from `surface`,
// again at the same placement with the window still there, is neither painted nor pushed: the
// window still shows it.
void push_frame(RenderSurface& surface, HWND window, const Placement& placement, const FrameModel& frame,
                WeatherIconCache* icon_cache = nullptr);

}  // namespace vessa
