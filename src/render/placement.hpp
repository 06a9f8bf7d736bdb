#pragma once
// Where the bars go in the taskbar: the bar window's rectangle and the drawing parameters
// that go with it, computed from the configuration and the container rectangle. Pure value
// functions; the Win32 side (taskbar_win.cpp) finds the container and applies the result.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "config/config.hpp"
#include "render/geometry.hpp"

namespace vessa {

struct PlacementResult {
  Placement placement;
  Geometry geometry;

  friend bool operator==(const PlacementResult&, const PlacementResult&) = default;
};

// Places the bar window in `container` (left, top, right, bottom) at `dpi` for `item_count`
// metric items. `notification_area` anchors `tray_left`; it counts only when left < right.
//
// Configuration values are used as read, unclamped: every step is computed in saturating
// 64-bit arithmetic, and the window is never longer than the container along the taskbar
// nor thicker than it across, so that no value can make a window (and its pixel buffer)
// larger than the taskbar. The position is not limited: offsets still move the window.
[[nodiscard]] PlacementResult compute_placement(const Config& config, const Rect& container, std::uint32_t dpi,
                                                std::size_t item_count,
                                                const std::optional<Rect>& notification_area);

// The thickness of one bar line: the largest value from `tmax` down to `tmin` for which
// `lines` lines with 1-pixel gaps fit in `band`; `tmin` when none does.
[[nodiscard]] std::int64_t line_thickness(std::int64_t tmin, std::int64_t tmax, std::int64_t lines,
                                          std::int64_t band) noexcept;

// "Geometry { thickness: 2, band: 24, icon_gap: Some(4), line_inset: 1 }"
[[nodiscard]] std::string format_geometry(const Geometry& geometry);
// "Placement { x: 10, y: 0, width: 120, height: 40 }"
[[nodiscard]] std::string format_placement(const Placement& placement);

// The diagnostic line written after a layout that changed something.
[[nodiscard]] std::string format_relayout_line(AttachMode mode, bool vertical, std::uint32_t dpi,
                                               const Rect& container, const Geometry& geometry,
                                               const Placement& placement);

}  // namespace vessa
