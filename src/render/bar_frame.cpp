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

// Where the bars go in the window's pixels, laid out along the bars (x) and across them (y).
struct BarArea {
  std::int64_t padding = 0;    // before the weather icon's slot and after the bars
  std::int64_t thickness = 0;  // the rows of one bar
  std::int64_t band = 0;       // the rows the bars and the lamps share
  std::int64_t band_top = 0;   // the band's first row, centred across the window
  std::int64_t start = 0;      // the bars' left end, after the weather icon's slot
  std::int64_t length = 0;     // a full bar's length

  [[nodiscard]] std::int64_t end() const noexcept { return sat::add(start, length); }
};

BarArea bar_area(const Layout& layout, const Geometry& geometry, std::int64_t along, std::int64_t across,
                 std::uint32_t dpi) {
  const auto scaled = [dpi](std::int64_t v) { return sat::scaled(v, dpi); };
  BarArea area;
  area.padding = scaled(layout.padding_x);
  area.thickness = std::max<std::int64_t>(1, scaled(geometry.thickness));
  area.band = std::max(scaled(geometry.band), area.thickness);
  // The weather icon's slot is a square of the band's size plus its gap.
  const std::int64_t icon_slot = geometry.icon_gap ? sat::add(scaled(*geometry.icon_gap), area.band) : 0;
  area.start = sat::add(icon_slot, area.padding);
  area.length = std::max<std::int64_t>(0, sat::sub(sat::sub(along, icon_slot), sat::mul(2, area.padding)));
  area.band_top = std::max<std::int64_t>(0, sat::sub(across, area.band) / 2);
  return area;
}

// The bars' rows in the band: the first bar's top row and the step from one bar to the next.
struct BarRows {
  std::int64_t first = 0;
  std::int64_t step = 0;
};

// Centred in the band, at least one empty row between two bars, and `inset` rows kept free at
// each edge of the band as far as the bars leave room for them.
BarRows bar_rows(const BarArea& area, std::int64_t inset, std::int64_t count) {
  const std::int64_t thickness = area.thickness;
  const std::int64_t edge_rows = std::min(
      inset, std::max<std::int64_t>(0, sat::sub(sat::add(area.band, 1), sat::mul(count, thickness + 1)) / 2));
  const std::int64_t free_rows = std::max(sat::sub(area.band, sat::mul(2, edge_rows)), thickness) - thickness;
  BarRows rows;
  if (count == 1) {
    rows.first = (area.band - thickness) / 2;
  } else if (count > 1) {
    rows.step = std::max(free_rows / (count - 1), thickness + 1);
    rows.first = sat::sub(sat::sub(area.band, thickness), sat::mul(count - 1, rows.step)) / 2;
  }
  return rows;
}

// The frame's shapes as they are added: each box is laid out along the bars, then turned for
// a vertical taskbar and brought into the frame's 32-bit coordinates.
class ShapeList {
 public:
  ShapeList(FrameModel& frame, std::optional<VerticalRotation> rotation, std::int64_t width, std::int64_t height)
      : frame_(frame), rotation_(rotation), width_(width), height_(height) {}

  [[nodiscard]] Box turned(const Box& box) const {
    return rotation_ ? rotate(box, *rotation_, width_, height_) : box;
  }

  void add(const Box& laid, Rgb color, std::uint8_t alpha, bool round = false) {
    const Box box = turned(laid);
    frame_.shapes.push_back(Shape{sat::to_i32(box.x0), sat::to_i32(box.y0), sat::to_i32(box.x1), sat::to_i32(box.y1),
                                  color, alpha, round});
  }

 private:
  FrameModel& frame_;
  std::optional<VerticalRotation> rotation_;
  std::int64_t width_;
  std::int64_t height_;
};

// Without disks in the sample a single lamp stands for them all.
std::size_t lamp_count(const MetricSample& sample) { return std::max<std::size_t>(sample.disks.size(), 1); }

// Each bar in order: its track, then its value. Returns the disk bar's top row, if there is one.
std::optional<std::int64_t> add_bars(ShapeList& shapes, const Layout& layout, const Appearance& appearance,
                                     const ResolvedColors& colors, const MetricSample& sample, const BarArea& area,
                                     const BarRows& rows) {
  std::optional<std::int64_t> disk_row;
  const std::int64_t start = area.start;
  const std::int64_t end = area.end();
  for (std::size_t i = 0; i < sample.bars.size(); ++i) {
    const BarValue& bar = sample.bars[i];
    const std::int64_t top =
        sat::add(sat::add(rows.first, sat::mul(static_cast<std::int64_t>(i), rows.step)), area.band_top);
    const std::int64_t bottom = sat::add(top, area.thickness);
    const auto from_to = [&](std::int64_t x0, std::int64_t x1, Rgb color) {
      shapes.add({x0, top, x1, bottom}, color, appearance.line_alpha);
    };
    if (layout.show_track) shapes.add({start, top, end, bottom}, appearance.track_color, appearance.track_alpha);
    if (bar.kind != MetricKind::Net) {
      const std::int64_t value = bar_length(bar.percent, area.length);
      if (value > 0) from_to(start, sat::add(start, value), kind_color(colors, bar.kind));
    } else {
      // Sending grows from the left end, receiving from the right; where they meet, the overlap.
      const std::int64_t sent = bar_length(sample.net_tx_percent, area.length);
      const std::int64_t received = bar_length(sample.net_rx_percent, area.length);
      const std::int64_t receive_start = std::max<std::int64_t>(0, area.length - received);
      if (sent > 0) from_to(start, sat::add(start, sent), colors.net_tx);
      if (received > 0) from_to(sat::sub(end, received), end, colors.net_rx);
      if (sent > receive_start) from_to(sat::add(start, receive_start), sat::add(start, sent), colors.net_overlap);
    }
    if (bar.kind == MetricKind::Disk) disk_row = top;
  }
  return disk_row;
}

// The disk lamps: a column of discs over the right end of the bar area, centred on the disk
// bar and kept within the band; lit ones in the colour of what the disk does.
void add_lamps(ShapeList& shapes, const Appearance& appearance, const ResolvedColors& colors,
               const MetricSample& sample, const BarArea& area, std::int64_t disk_row, std::int64_t lamp_size) {
  const std::size_t count = lamp_count(sample);
  const std::int64_t lamps = sat::count(count);
  const LampFit fit = fit_lamps(std::max<std::int64_t>(1, lamp_size), lamps, area.band);
  const std::int64_t column = sat::add(sat::mul(fit.size, lamps), sat::mul(fit.gap, lamps - 1));
  const std::int64_t centred = sat::sub(sat::add(disk_row, area.thickness / 2), column / 2);
  // More lamps than rows leave no valid range: start at the band's top and let the edge clip.
  const std::int64_t top =
      std::max(area.band_top, std::min(centred, sat::sub(sat::add(area.band_top, area.band), column)));
  const std::int64_t end = area.end();
  for (std::size_t index = 0; index < count; ++index) {
    const bool read = sample.disks.empty() ? sample.lamp_lit : sample.disks[index].read_lit;
    const bool write = !sample.disks.empty() && sample.disks[index].write_lit;
    const std::int64_t y = sat::add(top, sat::mul(static_cast<std::int64_t>(index), sat::add(fit.size, fit.gap)));
    Rgb color = appearance.track_color;
    std::uint8_t alpha = appearance.track_alpha;
    if (read || write) {
      color = read && write ? colors.lamp_both : write ? colors.lamp_write : colors.lamp_read;
      alpha = appearance.line_alpha;
    }
    shapes.add({sat::sub(end, fit.size), y, end, sat::add(y, fit.size)}, color, alpha, true);
  }
}

// The weather icon: a square in the slot before the bars, `trim` rows in from the band's edges.
IconBox weather_icon_box(const ShapeList& shapes, const BarArea& area, std::int64_t trim) {
  const std::int64_t side = std::max<std::int64_t>(1, sat::sub(area.band, sat::mul(2, trim)));
  const std::int64_t top = sat::add(area.band_top, trim);
  const Box box = shapes.turned(Box{area.padding, top, sat::add(area.padding, side), sat::add(top, side)});
  return IconBox{sat::to_i32(box.x0), sat::to_i32(box.y0), sat::to_i32(box.x1), sat::to_i32(box.y1)};
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
  // On a vertical taskbar the bars are laid out along the window's height, then turned.
  const BarArea area = bar_area(config.layout, geometry, rotation ? height : width, rotation ? width : height, dpi);
  const std::int64_t inset = std::max<std::int64_t>(0, sat::scaled(geometry.line_inset, dpi));
  const BarRows rows = bar_rows(area, inset, sat::count(sample.bars.size()));

  FrameModel frame;
  frame.background = config.appearance.background;
  frame.background_alpha = config.appearance.background_alpha;
  frame.icon_color = config.weather.icon_color;
  frame.shapes.reserve(sample.bars.size() * 4 + lamp_count(sample));
  ShapeList shapes(frame, rotation, width, height);
  const std::optional<std::int64_t> disk_row =
      add_bars(shapes, config.layout, config.appearance, colors, sample, area, rows);
  if (config.metrics.disk_lamp && disk_row) {
    add_lamps(shapes, config.appearance, colors, sample, area, *disk_row, sat::scaled(config.layout.lamp_size, dpi));
  }
  if (icon_kind != kNoIcon && geometry.icon_gap) {
    const std::int64_t trim = sat::scaled(std::max<std::int32_t>(0, config.weather.icon_trim), dpi);
    frame.icon_box = weather_icon_box(shapes, area, trim);
    frame.icon_kind = icon_kind;
  }
  return frame;
}

}  // namespace vessa
