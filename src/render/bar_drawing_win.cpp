#include "render/bar_drawing_win.hpp"

#include <algorithm>

#include "base/unique_handle_win.hpp"
#include "render/rasterize.hpp"
#include "render/weather_icon.hpp"

namespace vessa {
namespace {

// Whether `window` is where a push to `placement` puts it, in its parent's client coordinates
// (the screen's for a top-level window): something else may have moved it since.
bool window_is_at(HWND window, const Placement& placement, std::int32_t width, std::int32_t height) noexcept {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return false;
  MapWindowPoints(nullptr, GetAncestor(window, GA_PARENT), reinterpret_cast<POINT*>(&rect), 2);
  return rect.left == placement.x && rect.top == placement.y && rect.right - rect.left == width &&
         rect.bottom - rect.top == height;
}

}  // namespace

void push_frame(RenderSurface& surface, HWND window, const Placement& placement, const FrameModel& frame,
                WeatherIconCache* icon_cache) {
  const std::int32_t width = std::max(1, placement.width);
  const std::int32_t height = std::max(1, placement.height);
  // A sample that changed by less than a pixel draws the same frame: the window has it, and
  // is still in its place.
  if (surface.window_shows(window, placement, frame) && window_is_at(window, placement, width, height)) return;
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

  const WindowDc screen(nullptr);
  POINT destination{placement.x, placement.y};
  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (UpdateLayeredWindow(window, screen.get(), &destination, &size, surface.dc(), &source, 0, &blend, ULW_ALPHA)) {
    surface.remember_pushed(window, placement, frame);
  } else {
    surface.forget_pushed();
  }
}

}  // namespace vessa
