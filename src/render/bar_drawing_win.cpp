#include "render/bar_drawing_win.hpp"

#include <algorithm>

#include "base/unique_handle_win.hpp"
#include "render/rasterize.hpp"
#include "render/weather_icon.hpp"

namespace vessa {

void push_frame(RenderSurface& surface, HWND window, const Placement& placement, const FrameModel& frame,
                WeatherIconCache* icon_cache) {
  const std::int32_t width = std::max(1, placement.width);
  const std::int32_t height = std::max(1, placement.height);
  if (!surface.ensure(width, height)) return;
  // GDI may still be writing to the DIB; finish that before touching its memory. The
  // rasteriser paints every pixel (the background first), so the DIB needs no clearing.
  GdiFlush();
  const Canvas canvas{width, height, surface.pixels()};
  if (icon_cache != nullptr) {
    rasterize(frame, canvas, *icon_cache);
  } else {
    rasterize(frame, canvas);
  }

  ScreenDc screen(GetDC(nullptr));
  POINT destination{placement.x, placement.y};
  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(window, screen.get(), &destination, &size, surface.dc(), &source, 0, &blend, ULW_ALPHA);
}

}  // namespace vessa
