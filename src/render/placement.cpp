#include "render/placement.hpp"

#include <algorithm>

#include "base/dpi.hpp"
#include "render/saturating.hpp"

namespace vessa {

std::int64_t line_thickness(std::int64_t tmin, std::int64_t tmax, std::int64_t lines, std::int64_t band) noexcept {
  // lines × (T + 1) − 1 ≤ band  ⇔  T ≤ (band + 1) / lines − 1 (whole division, band ≥ 0).
  if (lines < 1 || band < 0) return tmin;
  const std::int64_t largest = sat::add(band, 1) / lines - 1;
  if (largest < tmin) return tmin;
  return std::min(tmax, largest);
}

PlacementResult compute_placement(const Config& config, const Rect& container, std::uint32_t dpi,
                                  std::size_t item_count, const std::optional<Rect>& notification_area) {
  const Layout& layout = config.layout;
  dpi = effective_dpi(dpi);
  const auto scaled = [dpi](std::int64_t v) { return sat::scaled(v, dpi); };

  // The container's size and the taskbar's thickness in 96-DPI units.
  const std::int64_t w = container.width();
  const std::int64_t h = container.height();
  const bool vertical = w < h;
  const std::int64_t t = sat::mul(std::min(w, h), 96) / dpi;

  // The lines and the limits of their thickness.
  const std::int64_t r = std::max<std::int64_t>(sat::count(item_count), 1);
  const std::int64_t tmin = std::max<std::int64_t>(layout.min_line_thickness, 1);
  const std::int64_t tmax = std::max<std::int64_t>(layout.max_line_thickness, tmin);
  const std::int64_t u = sat::mul(tmin, r);

  // The band: raised to hold every line at its thinnest, reduced to the room the taskbar has.
  const std::int64_t b0 = std::max<std::int64_t>(layout.band_height, 1);
  const std::int64_t room = std::max<std::int64_t>(std::max(sat::sub(t, 2 * std::int64_t{layout.padding_y}), u), 1);
  const std::int64_t band = b0 < u ? u : std::min(b0, room);

  // The lines' thickness.
  const std::int64_t thickness = line_thickness(tmin, tmax, r, band);

  // The weather icon is a square of the band's size plus its gap.
  std::optional<std::int64_t> gap;
  std::int64_t icon_part = 0;
  if (config.weather.enabled) {
    gap = std::max<std::int64_t>(config.weather.icon_gap, 0);
    icon_part = sat::add(band, *gap);
  }

  // The length along and thickness across the taskbar, in physical pixels, never beyond the
  // container's own length and thickness.
  const std::int64_t along_size = vertical ? h : w;
  const std::int64_t across_size = vertical ? w : h;
  const std::int64_t length_units = sat::add(sat::add(icon_part, layout.line_length), 2 * std::int64_t{layout.padding_x});
  const std::int64_t length = std::min(scaled(length_units), along_size);
  const std::int64_t thick = std::min(scaled(sat::add(2 * std::int64_t{layout.padding_y}, band)), across_size);

  // Right-aligned by default, offset_x in from the end.
  const std::int64_t start = vertical ? container.top : container.left;
  const std::int64_t end = vertical ? container.bottom : container.right;
  const std::int64_t offset = scaled(layout.offset_x);
  std::int64_t p = sat::sub(sat::sub(end, length), offset);

  // Then the anchor: from the start, from the end, or before the notification area.
  switch (layout.anchor) {
    case Anchor::Left:
      p = sat::add(start, offset);
      break;
    case Anchor::Right:
      break;
    case Anchor::TrayLeft:
      if (notification_area && notification_area->left < notification_area->right) {
        const std::int64_t tray_start = vertical ? notification_area->top : notification_area->left;
        p = sat::sub(sat::sub(tray_start, length), offset);
      }
      break;
  }

  // Never before the start; never past the end unless that would be before the start.
  p = std::max(start, std::min(p, std::max(sat::sub(end, length), start)));

  // Across the taskbar: centred.
  Placement placement;
  if (!vertical) {
    placement.x = sat::to_i32(p);
    placement.y = sat::to_i32(sat::add(sat::add(container.top, scaled(layout.offset_y)), sat::sub(h, thick) / 2));
    placement.width = sat::to_i32(length);
    placement.height = sat::to_i32(thick);
  } else {
    placement.x = sat::to_i32(sat::add(container.left, sat::sub(w, thick) / 2));
    placement.y = sat::to_i32(p);
    placement.width = sat::to_i32(thick);
    placement.height = sat::to_i32(length);
  }

  // The line inset: at most the rows the lines leave free in the band, split on both sides.
  const std::int64_t used = sat::sub(sat::add(sat::mul(r, thickness), r), 1);
  const std::int64_t slack = std::max<std::int64_t>(sat::sub(band, used) / 2, 0);
  const std::int64_t inset = layout.line_inset < 0 ? 0 : std::min<std::int64_t>(layout.line_inset, slack);

  // The drawing parameters, in 96-DPI units.
  Geometry geometry;
  geometry.thickness = sat::to_u32(thickness);
  geometry.band = sat::to_u32(band);
  if (gap) geometry.icon_gap = sat::to_i32(*gap);
  geometry.line_inset = sat::to_u32(inset);
  return {placement, geometry};
}

std::string format_geometry(const Geometry& geometry) {
  std::string text = "Geometry { thickness: " + std::to_string(geometry.thickness) +
                     ", band: " + std::to_string(geometry.band) + ", icon_gap: ";
  text += geometry.icon_gap ? "Some(" + std::to_string(*geometry.icon_gap) + ")" : std::string("None");
  text += ", line_inset: " + std::to_string(geometry.line_inset) + " }";
  return text;
}

std::string format_placement(const Placement& placement) {
  return "Placement { x: " + std::to_string(placement.x) + ", y: " + std::to_string(placement.y) +
         ", width: " + std::to_string(placement.width) + ", height: " + std::to_string(placement.height) + " }";
}

std::string format_relayout_line(AttachMode mode, bool vertical, std::uint32_t dpi, const Rect& container,
                                 const Geometry& geometry, const Placement& placement) {
  std::string line = "relayout mode=";
  line += attach_mode_debug_name(mode);
  line += vertical ? " vertical=true" : " vertical=false";
  line += " dpi=" + std::to_string(dpi);
  line += " container=" + std::to_string(container.width()) + "x" + std::to_string(container.height());
  line += " geometry=" + format_geometry(geometry);
  line += " placement=" + format_placement(placement);
  return line;
}

}  // namespace vessa
