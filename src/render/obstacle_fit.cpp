#include "render/obstacle_fit.hpp"

#include <algorithm>

#include "base/dpi.hpp"
#include "render/saturating.hpp"

namespace vessa {
namespace {

// A few pixels between the bars and a button, and a little more before hidden bars come back,
// so that a button that animates its width does not make them flicker (96-DPI units).
constexpr std::int64_t kMarginUnits = 4;
constexpr std::int64_t kHysteresisUnits = 6;
constexpr std::int64_t kShortestLinesUnits = 24;

bool overlaps(const Placement& placed, const Rect& obstacle) noexcept {
  const std::int64_t right = sat::add(placed.x, placed.width);
  const std::int64_t bottom = sat::add(placed.y, placed.height);
  return obstacle.left < right && placed.x < obstacle.right && obstacle.top < bottom && placed.y < obstacle.bottom;
}

}  // namespace

ObstacleRule obstacle_rule(const Config& config, const Geometry& geometry, std::uint32_t dpi) {
  dpi = effective_dpi(dpi);
  const Layout& layout = config.layout;
  const std::int64_t icon_part = geometry.icon_gap ? sat::add(geometry.band, *geometry.icon_gap) : 0;
  const std::int64_t lines = std::max<std::int64_t>(layout.line_length / 3, kShortestLinesUnits);
  const std::int64_t units = sat::add(sat::add(icon_part, 2 * std::int64_t{layout.padding_x}), lines);
  return {std::max<std::int64_t>(sat::scaled(units, dpi), 1), sat::scaled(kMarginUnits, dpi),
          sat::scaled(kHysteresisUnits, dpi)};
}

std::optional<Placement> fit_beside_obstacles(const Placement& placed, bool vertical, Anchor anchor,
                                              std::span<const Rect> obstacles, const ObstacleRule& rule,
                                              bool hidden_before) {
  const std::int64_t start = vertical ? placed.y : placed.x;
  const std::int64_t length = vertical ? placed.height : placed.width;
  const std::int64_t end = sat::add(start, length);
  const bool keep_start = anchor == Anchor::Left;

  // Where the kept part must stop: past every overlapping obstacle, with the margin.
  bool any = false;
  std::int64_t limit = keep_start ? end : start;
  for (const Rect& obstacle : obstacles) {
    if (!overlaps(placed, obstacle)) continue;
    any = true;
    if (keep_start) {
      limit = std::min(limit, sat::sub(vertical ? obstacle.top : obstacle.left, rule.margin));
    } else {
      limit = std::max(limit, sat::add(vertical ? obstacle.bottom : obstacle.right, rule.margin));
    }
  }
  if (!any) return placed;

  const std::int64_t room = std::clamp<std::int64_t>(keep_start ? sat::sub(limit, start) : sat::sub(end, limit), 0, length);
  const std::int64_t minimum = std::min(rule.minimum, length);
  const std::int64_t needed = hidden_before ? sat::add(minimum, rule.hysteresis) : minimum;
  if (room < needed || room <= 0) return std::nullopt;

  Placement fitted = placed;
  const std::int32_t new_start = sat::to_i32(keep_start ? start : sat::sub(end, room));
  if (vertical) {
    fitted.y = new_start;
    fitted.height = sat::to_i32(room);
  } else {
    fitted.x = new_start;
    fitted.width = sat::to_i32(room);
  }
  return fitted;
}

}  // namespace vessa
