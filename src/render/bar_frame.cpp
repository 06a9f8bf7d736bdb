#include "render/bar_frame.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "render/saturating.hpp"

namespace vessa {
namespace {

// Shapes are laid out in 64-bit coordinates and brought into 32 bits only at the end, so that
// extreme paddings or sizes clip at the window's edge instead of wrapping around.
struct Box {
  std::int64_t x0 = 0;
  std::int64_t y0 = 0;
  std::int64_t x1 = 0;
  std::int64_t y1 = 0;
};

// Turns a box laid out along the bars' length (x) into the window of `window_width` ×
// `window_height` whose bars run along its height.
Box rotate(const Box& box, VerticalRotation rotation, std::int64_t window_width, std::int64_t window_height) {
  switch (rotation) {
    case VerticalRotation::Clockwise:
      return {sat::sub(window_width, box.y1), box.x0, sat::sub(window_width, box.y0), box.x1};
    case VerticalRotation::CounterClockwise:
      return {box.y0, sat::sub(window_height, box.x1), box.y1, sat::sub(window_height, box.x0)};
  }
  return box;
}

Rgb kind_color(const ResolvedColors& colors, MetricKind kind) {
  switch (kind) {
    case MetricKind::Cpu: return colors.cpu;
    case MetricKind::Memory: return colors.memory;
    case MetricKind::Disk: return colors.disk;
    case MetricKind::Gpu: return colors.gpu;
    case MetricKind::Net: return colors.net_tx;
  }
  return colors.cpu;
}

}  // namespace

LampFit fit_lamps(std::int64_t largest, std::int64_t count, std::int64_t band) noexcept {
  largest = std::max<std::int64_t>(largest, 1);
  if (count < 1) return {1, 0};
  if (count == 1) {
    // One lamp has no gap to fit: the largest size up to the band, with the first gap tried.
    if (band < 1) return {1, 0};
    const std::int64_t size = std::min(largest, band);
    return {size, std::max<std::int64_t>(1, size / 2)};
  }
  // size × count + gap × (count − 1) ≤ band; a size fits when it fits with a gap of 1.
  const std::int64_t room = sat::sub(band, count - 1);
  if (room < count) return {std::max<std::int64_t>(1, band / count), 0};
  const std::int64_t size = std::min(largest, room / count);
  const std::int64_t widest_gap = sat::sub(band, sat::mul(size, count)) / (count - 1);
  return {size, std::min(std::max<std::int64_t>(1, size / 2), widest_gap)};
}

std::int64_t bar_length(double percent, std::int64_t length) noexcept {
  if (std::isnan(percent) || length <= 0) return 0;
  const double exact = percent * static_cast<double>(length) / 100.0;
  if (!(exact > 0.0)) return 0;
  if (exact >= static_cast<double>(length)) return length;
  return std::min(length, static_cast<std::int64_t>(std::round(exact)));
}

FrameModel build_frame(const Config& config, const ResolvedColors& colors, const MetricSample& sample,
                       const Geometry& geometry, std::int32_t width, std::int32_t height, std::uint32_t dpi,
                       std::uint8_t icon_kind, std::optional<VerticalRotation> rotation) {
  const Layout& layout = config.layout;
  const Appearance& appearance = config.appearance;
  const auto scaled = [dpi](std::int64_t v) { return sat::scaled(v, dpi); };

  // On a vertical taskbar the bars are laid out along the window's height, then turned.
  const std::int64_t along = rotation ? height : width;
  const std::int64_t across = rotation ? width : height;

  // 1. Derived sizes, in the window's pixels.
  const std::int64_t pad = scaled(layout.padding_x);
  const std::int64_t thick = std::max<std::int64_t>(1, scaled(geometry.thickness));
  const std::int64_t band = std::max(scaled(geometry.band), thick);
  const std::int64_t inset = std::max<std::int64_t>(0, scaled(geometry.line_inset));
  const std::int64_t lamp = std::max<std::int64_t>(1, scaled(layout.lamp_size));
  const std::int64_t icon_area = geometry.icon_gap ? sat::add(scaled(*geometry.icon_gap), band) : 0;
  const std::int64_t bar_len = std::max<std::int64_t>(0, sat::sub(sat::sub(along, icon_area), sat::mul(2, pad)));
  const std::int64_t xs = sat::add(icon_area, pad);
  const std::int64_t yt = std::max<std::int64_t>(0, sat::sub(across, band) / 2);

  // 2. The bars' rows: centred in the band, at least one empty row between two bars.
  const std::int64_t n = sat::count(sample.bars.size());
  const std::int64_t margin =
      std::min(inset, std::max<std::int64_t>(0, sat::sub(sat::add(band, 1), sat::mul(n, thick + 1)) / 2));
  const std::int64_t free_rows = std::max(sat::sub(band, sat::mul(2, margin)), thick) - thick;
  std::int64_t first = 0;
  std::int64_t step = 0;
  if (n == 1) {
    first = (band - thick) / 2;
  } else if (n > 1) {
    step = std::max(free_rows / (n - 1), thick + 1);
    first = sat::sub(sat::sub(band, thick), sat::mul(n - 1, step)) / 2;
  }

  FrameModel frame;
  frame.background = appearance.background;
  frame.background_alpha = appearance.background_alpha;
  frame.icon_color = config.weather.icon_color;

  // Each box is laid out along the bars, then turned for a vertical taskbar and brought into
  // the frame's 32-bit coordinates.
  const auto finish = [&](const Box& box) { return rotation ? rotate(box, *rotation, width, height) : box; };
  const auto add = [&](const Box& laid, Rgb color, std::uint8_t alpha, bool round) {
    const Box box = finish(laid);
    frame.shapes.push_back(Shape{sat::to_i32(box.x0), sat::to_i32(box.y0), sat::to_i32(box.x1), sat::to_i32(box.y1),
                                 color, alpha, round});
  };
  const auto rect = [&add](std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1, Rgb color,
                           std::uint8_t alpha) { add({x0, y0, x1, y1}, color, alpha, false); };
  // Without disks in the sample a single lamp stands for them all.
  const std::size_t lamp_count = std::max<std::size_t>(sample.disks.size(), 1);
  frame.shapes.reserve(sample.bars.size() * 4 + lamp_count);

  // 4. Each bar in order: its track, then its value.
  std::optional<std::int64_t> disk_row;
  const std::int64_t bar_end = sat::add(xs, bar_len);
  for (std::size_t i = 0; i < sample.bars.size(); ++i) {
    const BarValue& bar = sample.bars[i];
    const std::int64_t y = sat::add(sat::add(first, sat::mul(static_cast<std::int64_t>(i), step)), yt);
    const std::int64_t y_end = sat::add(y, thick);
    if (layout.show_track) rect(xs, y, bar_end, y_end, appearance.track_color, appearance.track_alpha);
    if (bar.kind != MetricKind::Net) {
      const std::int64_t l = bar_length(bar.percent, bar_len);
      if (l > 0) rect(xs, y, sat::add(xs, l), y_end, kind_color(colors, bar.kind), appearance.line_alpha);
    } else {
      // Sending grows from the left end, receiving from the right; where they meet, the overlap.
      const std::int64_t sent = bar_length(sample.net_tx_percent, bar_len);
      const std::int64_t received = bar_length(sample.net_rx_percent, bar_len);
      const std::int64_t receive_start = std::max<std::int64_t>(0, bar_len - received);
      if (sent > 0) rect(xs, y, sat::add(xs, sent), y_end, colors.net_tx, appearance.line_alpha);
      if (received > 0) rect(sat::sub(bar_end, received), y, bar_end, y_end, colors.net_rx, appearance.line_alpha);
      if (sent > receive_start) rect(sat::add(xs, receive_start), y, sat::add(xs, sent), y_end, colors.net_overlap, appearance.line_alpha);
    }
    if (bar.kind == MetricKind::Disk) disk_row = y;
  }

  // 5. Disk lamps: a column over the right end of the bar area, centred on the disk bar.
  if (config.metrics.disk_lamp && disk_row) {
    const std::int64_t c = sat::count(lamp_count);
    const LampFit fit = fit_lamps(lamp, c, band);
    const std::int64_t total = sat::add(sat::mul(fit.size, c), sat::mul(fit.gap, c - 1));
    const std::int64_t centred = sat::sub(sat::add(*disk_row, thick / 2), total / 2);
    // More lamps than rows leave no valid range: start at the band's top and let the edge clip.
    const std::int64_t top = std::max(yt, std::min(centred, sat::sub(sat::add(yt, band), total)));
    for (std::size_t k = 0; k < lamp_count; ++k) {
      const bool read = sample.disks.empty() ? sample.lamp_lit : sample.disks[k].read_lit;
      const bool write = !sample.disks.empty() && sample.disks[k].write_lit;
      const std::int64_t y = sat::add(top, sat::mul(static_cast<std::int64_t>(k), sat::add(fit.size, fit.gap)));
      Rgb color = appearance.track_color;
      std::uint8_t alpha = appearance.track_alpha;
      if (read || write) {
        color = read && write ? colors.lamp_both : write ? colors.lamp_write : colors.lamp_read;
        alpha = appearance.line_alpha;
      }
      add({sat::sub(bar_end, fit.size), y, bar_end, sat::add(y, fit.size)}, color, alpha, true);
    }
  }

  // 6. The weather icon sits in the square slot at the left that the icon area reserves.
  if (icon_kind != kNoIcon && geometry.icon_gap) {
    const std::int64_t trim = scaled(std::max<std::int32_t>(0, config.weather.icon_trim));
    const std::int64_t side = std::max<std::int64_t>(1, sat::sub(band, sat::mul(2, trim)));
    const std::int64_t y = sat::add(yt, trim);
    const Box box = finish(Box{pad, y, sat::add(pad, side), sat::add(y, side)});
    frame.icon_box = IconBox{sat::to_i32(box.x0), sat::to_i32(box.y0), sat::to_i32(box.x1), sat::to_i32(box.y1)};
    frame.icon_kind = icon_kind;
  }
  return frame;
}

}  // namespace vessa
