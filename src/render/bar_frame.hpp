#pragma once
// The layout of one bar window's picture: from a sample, the configuration, the resolved
// colours and the window's geometry, the ordered shapes to paint and the weather icon's box.
// A pure function of plain values.

#include <cstdint>
#include <optional>

#include "config/colors.hpp"
#include "config/config.hpp"
#include "metrics/sample.hpp"
#include "render/frame.hpp"
#include "render/geometry.hpp"

namespace vessa {

// Lays the bars out for a window of `width` × `height` pixels whose container has `dpi`.
// Without a rotation the bars run from left to right; on a vertical taskbar they are laid
// out along the window's height and turned by a quarter (`Clockwise`: they start at the top,
// `CounterClockwise`: at the bottom). `icon_kind` is the weather condition to show, or kNoIcon.
[[nodiscard]] FrameModel build_frame(const Config& config, const ResolvedColors& colors, const MetricSample& sample,
                                     const Geometry& geometry, std::int32_t width, std::int32_t height,
                                     std::uint32_t dpi, std::uint8_t icon_kind,
                                     std::optional<VerticalRotation> rotation);

// The size and gap of `count` disk lamps in a band of `band` rows: the largest size up to
// `largest` (from there down to 1), each with the largest gap from max(1, size / 2) down to 1,
// for which all lamps and their gaps fit; else size max(1, band / count) and no gap.
struct LampFit {
  std::int64_t size = 1;
  std::int64_t gap = 0;

  friend bool operator==(const LampFit&, const LampFit&) = default;
};
[[nodiscard]] LampFit fit_lamps(std::int64_t largest, std::int64_t count, std::int64_t band) noexcept;

// The length of a bar of `percent` over `length` pixels: rounded half away from zero and
// limited to 0..length; NaN gives 0.
[[nodiscard]] std::int64_t bar_length(double percent, std::int64_t length) noexcept;

}  // namespace vessa
