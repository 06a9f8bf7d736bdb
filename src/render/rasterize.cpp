#include "render/rasterize.hpp"

#include <algorithm>
#include <cstdint>

#include "render/weather_icon.hpp"

namespace vessa {
namespace {

struct Span {
  std::int32_t x0 = 0;
  std::int32_t y0 = 0;
  std::int32_t x1 = 0;  // exclusive
  std::int32_t y1 = 0;  // exclusive

  [[nodiscard]] bool empty() const noexcept { return x0 >= x1 || y0 >= y1; }
};

Span clip(const Shape& shape, const Canvas& canvas) {
  return {std::max(0, shape.x0), std::max(0, shape.y0), std::min(canvas.width, shape.x1),
          std::min(canvas.height, shape.y1)};
}

void fill_rect(const Shape& shape, Canvas& canvas) {
  const Span span = clip(shape, canvas);
  if (span.empty() || shape.alpha == 0) return;
  const std::uint32_t source = premultiply(shape.color.r, shape.color.g, shape.color.b, shape.alpha);
  for (std::int32_t y = span.y0; y < span.y1; ++y) {
    std::uint32_t* row = &canvas.at(span.x0, y);
    const std::int32_t count = span.x1 - span.x0;
    if (shape.alpha == 255) {
      std::fill(row, row + count, source);
    } else {
      for (std::int32_t i = 0; i < count; ++i) row[i] = blend_over(row[i], source);
    }
  }
}

void fill_disc(const Shape& shape, Canvas& canvas) {
  const double w = static_cast<double>(std::int64_t{shape.x1} - shape.x0);
  const double h = static_cast<double>(std::int64_t{shape.y1} - shape.y0);
  const double radius = std::min(w, h) / 2.0;
  if (!(radius > 0.0)) return;
  const Span span = clip(shape, canvas);
  if (span.empty()) return;
  const double cx = static_cast<double>(std::int64_t{shape.x0} + shape.x1) / 2.0;
  const double cy = static_cast<double>(std::int64_t{shape.y0} + shape.y1) / 2.0;
  const double r2 = radius * radius;
  static constexpr double kOffsets[4] = {0.125, 0.375, 0.625, 0.875};
  for (std::int32_t py = span.y0; py < span.y1; ++py) {
    for (std::int32_t px = span.x0; px < span.x1; ++px) {
      std::uint32_t k = 0;
      for (const double v : kOffsets) {
        const double dy = py + v - cy;
        for (const double u : kOffsets) {
          const double dx = px + u - cx;
          if (dx * dx + dy * dy <= r2) ++k;
        }
      }
      if (k == 0) continue;
      const auto alpha = static_cast<std::uint8_t>(shape.alpha * ((k * 255u) >> 4) / 255u);
      std::uint32_t& pixel = canvas.at(px, py);
      pixel = blend_over(pixel, premultiply(shape.color.r, shape.color.g, shape.color.b, alpha));
    }
  }
}

void paint(const FrameModel& frame, Canvas canvas, WeatherIconCache* icon_cache) {
  if (canvas.width <= 0 || canvas.height <= 0 || canvas.pixels == nullptr) return;
  const std::uint8_t background_alpha = frame.background_alpha == 0 ? 1 : frame.background_alpha;
  const std::uint32_t background =
      premultiply(frame.background.r, frame.background.g, frame.background.b, background_alpha);
  std::fill(canvas.pixels, canvas.pixels + static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height),
            background);
  for (const Shape& shape : frame.shapes) {
    if (shape.round) {
      fill_disc(shape, canvas);
    } else {
      fill_rect(shape, canvas);
    }
  }
  if (frame.icon_kind == kNoIcon) return;
  if (icon_cache != nullptr) {
    draw_weather_icon(canvas, frame.icon_box, frame.icon_color, frame.icon_kind, *icon_cache);
  } else {
    draw_weather_icon(canvas, frame.icon_box, frame.icon_color, frame.icon_kind);
  }
}

}  // namespace

void rasterize(const FrameModel& frame, Canvas canvas) { paint(frame, canvas, nullptr); }

void rasterize(const FrameModel& frame, Canvas canvas, WeatherIconCache& icon_cache) {
  paint(frame, canvas, &icon_cache);
}

}  // namespace vessa
