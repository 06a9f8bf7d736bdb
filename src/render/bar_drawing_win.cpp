#include "render/bar_drawing_win.hpp"

#include <algorithm>

#include "app/app_state_win.hpp"
#include "base/unique_handle_win.hpp"
#include "render/bar_frame.hpp"
#include "render/mirrors_win.hpp"
#include "render/rasterize.hpp"

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

  WindowDc screen(nullptr);
  POINT destination{placement.x, placement.y};
  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(window, screen.get(), &destination, &size, surface.dc(), &source, 0, &blend, ULW_ALPHA);
}

void draw_and_push(AppState& state, HWND bar_window) {
  if (!state.has_sample || state.current_attach_mode == AttachMode::TrayOnly) return;
  const std::uint8_t icon_kind =
      state.weather.condition ? static_cast<std::uint8_t>(*state.weather.condition) : kNoIcon;
  const std::optional<VerticalRotation> rotation =
      state.vertical ? std::optional<VerticalRotation>(state.config.layout.vertical_rotation) : std::nullopt;
  const FrameModel frame = build_frame(state.config, state.colors, state.last_sample, state.geometry,
                                       state.placement.width, state.placement.height, state.container_dpi, icon_kind,
                                       rotation);
  push_frame(state.surface, bar_window, state.placement, frame, &state.weather.icon_cache);
  draw_mirrors(state);
}

}  // namespace vessa
