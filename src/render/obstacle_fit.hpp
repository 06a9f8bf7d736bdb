#pragma once
// Keeping the bars off the taskbar's own buttons. The taskbar's buttons (Start, search, the
// task buttons) grow toward the notification area as programs open; a bar area laid over them
// hides them. These pure functions shorten the placed bar area from the end away from its
// anchor so that it covers no button, or hide it when too little would be left. The buttons'
// rectangles come from the caller, in the placement's own coordinates; the taskbar itself is
// never changed.

#include <cstdint>
#include <optional>
#include <span>

#include "config/config.hpp"
#include "render/geometry.hpp"

namespace vessa {

// The pixel lengths the fit works with, along the taskbar.
struct ObstacleRule {
  std::int64_t minimum = 0;     // the shortest bar area worth showing
  std::int64_t margin = 0;      // kept free before the nearest button
  std::int64_t hysteresis = 0;  // more room than the minimum before hidden bars come back

  friend bool operator==(const ObstacleRule&, const ObstacleRule&) = default;
};

// The rule for bars laid out with `geometry` at `dpi`: the minimum is the weather icon's part
// (when shown), the paddings and a third of `line_length`, at least 24 at 96 DPI, scaled.
[[nodiscard]] ObstacleRule obstacle_rule(const Config& config, const Geometry& geometry, std::uint32_t dpi);

// `placed` as it may be shown beside `obstacles`, or none when it must be hidden.
// - No obstacle overlaps it: `placed` exactly.
// - Otherwise the end that faces the anchor stays (`left`: the start; `right` and `tray_left`:
//   the end) and the other end moves to `margin` short of the nearest overlapping obstacle.
// - Less than the minimum left (never more than the placed length itself), or, for bars the last
//   fit hid (`hidden_before`), less than the minimum plus the hysteresis: none.
[[nodiscard]] std::optional<Placement> fit_beside_obstacles(const Placement& placed, bool vertical, Anchor anchor,
                                                            std::span<const Rect> obstacles,
                                                            const ObstacleRule& rule, bool hidden_before);

}  // namespace vessa
