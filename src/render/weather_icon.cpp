#include "render/weather_icon.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace vessa {
namespace weather_icon {
namespace {

// Lengths at or below this count as zero (float's machine epsilon, 2^-23).
constexpr float kTiny = 1.1920929e-7f;

constexpr Primitive disc(float x, float y, float radius) noexcept {
  return {Primitive::Kind::Disc, x, y, 0, 0, radius};
}
constexpr Primitive capsule(float x0, float y0, float x1, float y1, float half_width) noexcept {
  return {Primitive::Kind::Capsule, x0, y0, x1, y1, half_width};
}

// A sun: its disc is stroked, its eight rays (from 1.5 to 2.1 radii out) are filled.
Layer sun(float cx, float cy, float r, float half) noexcept {
  Layer layer;
  layer.outline.add(disc(cx, cy, r));
  for (int k = 0; k < 8; ++k) {
    const double angle = k * std::numbers::pi / 4.0;
    const auto c = static_cast<float>(std::cos(angle));
    const auto s = static_cast<float>(std::sin(angle));
    layer.fill.add(capsule(cx + c * 1.5f * r, cy + s * 1.5f * r, cx + c * 2.1f * r, cy + s * 2.1f * r, half));
  }
  return layer;
}

struct CloudShape {
  std::array<std::array<float, 3>, 3> discs;  // centre x, centre y, radius
  std::array<float, 5> base;                  // x0, y0, x1, y1, half-width
};

constexpr CloudShape kCloudA{{{{0.41f, 0.62f, 0.14f}, {0.58f, 0.54f, 0.18f}, {0.74f, 0.64f, 0.13f}}},
                             {0.41f, 0.70f, 0.74f, 0.70f, 0.07f}};
constexpr CloudShape kCloudB{{{{0.3275f, 0.503f, 0.161f}, {0.523f, 0.411f, 0.207f}, {0.707f, 0.526f, 0.1495f}}},
                             {0.3275f, 0.595f, 0.707f, 0.595f, 0.0805f}};
constexpr CloudShape kCloudC{{{{0.35f, 0.38f, 0.14f}, {0.52f, 0.30f, 0.18f}, {0.68f, 0.40f, 0.13f}}},
                             {0.35f, 0.46f, 0.68f, 0.46f, 0.07f}};
constexpr CloudShape kCloudD{{{{0.35f, 0.36f, 0.14f}, {0.52f, 0.28f, 0.18f}, {0.68f, 0.38f, 0.13f}}},
                             {0.35f, 0.44f, 0.68f, 0.44f, 0.07f}};

Layer cloud(const CloudShape& shape) noexcept {
  Layer layer;
  for (const auto& d : shape.discs) layer.outline.add(disc(d[0], d[1], d[2]));
  const auto& b = shape.base;
  layer.outline.add(capsule(b[0], b[1], b[2], b[3], b[4]));
  return layer;
}

// The drawing of each condition before fitting; `stroke` and `half` in unit coordinates.
Drawing unfitted(std::uint8_t kind, float stroke, float half) noexcept {
  Drawing drawing;
  drawing.half = half;
  auto one = [&drawing](const Layer& layer) -> Layer& {
    drawing.layers[0] = layer;
    drawing.layer_count = 1;
    return drawing.layers[0];
  };
  switch (kind) {
    case 0:  // Clear
      one(sun(0.5f, 0.5f, 0.17f, half));
      break;
    case 1:  // PartlyCloudy: the sun behind, the cloud in front
      drawing.layers[0] = sun(0.34f, 0.32f, 0.13f, half);
      drawing.layers[1] = cloud(kCloudA);
      drawing.layer_count = 2;
      break;
    case 2:  // Cloudy
      one(cloud(kCloudB));
      break;
    case 3: {  // Fog
      Layer& layer = one(cloud(kCloudC));
      layer.fill.add(capsule(0.26f, 0.70f, 0.74f, 0.70f, half));
      layer.fill.add(capsule(0.26f, 0.84f, 0.74f, 0.84f, half));
      break;
    }
    case 4: {  // Drizzle
      Layer& layer = one(cloud(kCloudC));
      layer.fill.add(capsule(0.445f, 0.68f, 0.385f, 0.81f, half));
      layer.fill.add(capsule(0.615f, 0.68f, 0.555f, 0.81f, half));
      break;
    }
    case 5: {  // Rain
      Layer& layer = one(cloud(kCloudD));
      layer.fill.add(capsule(0.36f, 0.66f, 0.30f, 0.86f, half));
      layer.fill.add(capsule(0.53f, 0.66f, 0.47f, 0.86f, half));
      layer.fill.add(capsule(0.70f, 0.66f, 0.64f, 0.86f, half));
      break;
    }
    case 6: {  // Snow
      Layer& layer = one(cloud(kCloudD));
      for (const float x : {0.33f, 0.50f, 0.67f}) layer.fill.add(disc(x, 0.78f, 0.7f * stroke));
      break;
    }
    case 7: {  // Thunderstorm: a bolt of three strokes
      Layer& layer = one(cloud(kCloudD));
      layer.fill.add(capsule(0.56f, 0.64f, 0.44f, 0.78f, half));
      layer.fill.add(capsule(0.44f, 0.78f, 0.58f, 0.76f, half));
      layer.fill.add(capsule(0.58f, 0.76f, 0.46f, 0.92f, half));
      break;
    }
    default:
      break;
  }
  return drawing;
}

template <typename AnyDrawing, typename Visit>
void for_each_primitive(AnyDrawing& drawing, Visit visit) noexcept {
  for (std::size_t i = 0; i < drawing.layer_count; ++i) {
    for (std::size_t k = 0; k < drawing.layers[i].outline.count; ++k) visit(drawing.layers[i].outline.items[k]);
    for (std::size_t k = 0; k < drawing.layers[i].fill.count; ++k) visit(drawing.layers[i].fill.items[k]);
  }
}

// Scales and centres the drawing into the square, leaving a margin of 0.02 plus half a
// stroke on the axis that limits it. The outline's half stroke stays as it is.
void fit(Drawing& drawing, float stroke) noexcept {
  const Bounds box = bounds_of(drawing);
  const float width = box.x1 - box.x0;
  const float height = box.y1 - box.y0;
  const float extent = std::max(width, height);
  if (!(extent > kTiny)) return;
  const float available = std::max(0.96f - stroke, kTiny);
  const float g = available / extent;
  const float offset_x = 0.02f + drawing.half + (available - width * g) / 2.0f - box.x0 * g;
  const float offset_y = 0.02f + drawing.half + (available - height * g) / 2.0f - box.y0 * g;
  for_each_primitive(drawing, [&](Primitive& p) {
    p.x0 = p.x0 * g + offset_x;
    p.y0 = p.y0 * g + offset_y;
    p.x1 = p.x1 * g + offset_x;
    p.y1 = p.y1 * g + offset_y;
    p.radius *= g;
  });
}

float smallest_distance(const PrimitiveList& list, float x, float y) noexcept {
  float smallest = std::numeric_limits<float>::infinity();
  for (const Primitive& p : list) smallest = std::min(smallest, p.signed_distance(x, y));
  return smallest;
}

// Whether a layer in front of `layer` comes within the halo of the sample.
bool hidden_by_front(const Drawing& drawing, std::size_t layer, float x, float y) noexcept {
  for (std::size_t front = layer + 1; front < drawing.layer_count; ++front) {
    for (const Primitive& p : drawing.layers[front].outline) {
      if (p.signed_distance(x, y) < kOcclusionHalo) return true;
    }
    for (const Primitive& p : drawing.layers[front].fill) {
      if (p.signed_distance(x, y) < kOcclusionHalo) return true;
    }
  }
  return false;
}

bool sample_hits(const Drawing& drawing, float x, float y) noexcept {
  for (std::size_t i = 0; i < drawing.layer_count; ++i) {
    if (hidden_by_front(drawing, i, x, y)) continue;
    const Layer& layer = drawing.layers[i];
    if (std::fabs(smallest_distance(layer.outline, x, y)) <= drawing.half) return true;
    if (smallest_distance(layer.fill, x, y) <= 0.0f) return true;
  }
  return false;
}

}  // namespace

float Primitive::signed_distance(float x, float y) const noexcept {
  if (kind == Kind::Disc) return std::sqrt((x - x0) * (x - x0) + (y - y0) * (y - y0)) - radius;
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  const float length_squared = dx * dx + dy * dy;
  float t = 0.0f;
  if (length_squared > kTiny) t = std::clamp(((x - x0) * dx + (y - y0) * dy) / length_squared, 0.0f, 1.0f);
  const float nx = x - (x0 + t * dx);
  const float ny = y - (y0 + t * dy);
  return std::sqrt(nx * nx + ny * ny) - radius;
}

float stroke_pixels(std::int64_t side) noexcept {
  return std::clamp(0.085f * static_cast<float>(std::max<std::int64_t>(side, 1)), 1.2f, 3.0f);
}

Bounds bounds_of(const Drawing& drawing) noexcept {
  Bounds box{std::numeric_limits<float>::infinity(), std::numeric_limits<float>::infinity(),
             -std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
  for_each_primitive(drawing, [&box](const Primitive& p) {
    const bool is_disc = p.kind == Primitive::Kind::Disc;
    const float left = is_disc ? p.x0 : std::min(p.x0, p.x1);
    const float right = is_disc ? p.x0 : std::max(p.x0, p.x1);
    const float top = is_disc ? p.y0 : std::min(p.y0, p.y1);
    const float bottom = is_disc ? p.y0 : std::max(p.y0, p.y1);
    box.x0 = std::min(box.x0, left - p.radius);
    box.x1 = std::max(box.x1, right + p.radius);
    box.y0 = std::min(box.y0, top - p.radius);
    box.y1 = std::max(box.y1, bottom + p.radius);
  });
  return box;
}

Drawing drawing_for(std::uint8_t kind, std::int64_t side) noexcept {
  const std::int64_t s = std::max<std::int64_t>(side, 1);
  const float stroke = stroke_pixels(s) / static_cast<float>(s);
  Drawing drawing = unfitted(kind, stroke, stroke / 2.0f);
  fit(drawing, stroke);
  return drawing;
}

std::uint8_t pixel_coverage(const Drawing& drawing, std::int64_t side, std::int64_t px, std::int64_t py) noexcept {
  const auto scale = static_cast<float>(4 * std::max<std::int64_t>(side, 1));
  unsigned hits = 0;
  for (int j = 0; j < 4; ++j) {
    const float y = (static_cast<float>(4 * py + j) + 0.5f) / scale;
    for (int i = 0; i < 4; ++i) {
      const float x = (static_cast<float>(4 * px + i) + 0.5f) / scale;
      if (sample_hits(drawing, x, y)) ++hits;
    }
  }
  return static_cast<std::uint8_t>(hits * 255u / 16u);
}

}  // namespace weather_icon

namespace {

constexpr std::uint8_t kLastCondition = 7;

// The visible part of the icon's square: its side and the range of its pixels inside the canvas.
struct IconArea {
  std::int64_t side = 0;
  std::int64_t first_x = 0, end_x = 0;  // square columns [first_x, end_x)
  std::int64_t first_y = 0, end_y = 0;  // square rows [first_y, end_y)

  [[nodiscard]] bool empty() const noexcept { return side <= 0 || first_x >= end_x || first_y >= end_y; }
};

IconArea visible_area(const Canvas& canvas, const IconBox& box) noexcept {
  IconArea area;
  const std::int64_t width = std::int64_t{box.x1} - box.x0;
  const std::int64_t height = std::int64_t{box.y1} - box.y0;
  area.side = std::min(width, height);
  if (area.side <= 0 || canvas.pixels == nullptr) return area;
  area.first_x = std::max<std::int64_t>(0, -std::int64_t{box.x0});
  area.end_x = std::min<std::int64_t>(area.side, std::int64_t{canvas.width} - box.x0);
  area.first_y = std::max<std::int64_t>(0, -std::int64_t{box.y0});
  area.end_y = std::min<std::int64_t>(area.side, std::int64_t{canvas.height} - box.y0);
  return area;
}

void blend_coverage(Canvas& canvas, const IconBox& box, Rgb color, std::int64_t px, std::int64_t py,
                    std::uint8_t coverage) noexcept {
  if (coverage == 0) return;
  std::uint32_t& pixel = canvas.at(static_cast<std::int32_t>(box.x0 + px), static_cast<std::int32_t>(box.y0 + py));
  pixel = blend_over(pixel, premultiply(color.r, color.g, color.b, coverage));
}

}  // namespace

void draw_weather_icon(Canvas canvas, const IconBox& box, Rgb color, std::uint8_t kind) {
  if (kind > kLastCondition) return;
  const IconArea area = visible_area(canvas, box);
  if (area.empty()) return;
  const weather_icon::Drawing drawing = weather_icon::drawing_for(kind, area.side);
  for (std::int64_t py = area.first_y; py < area.end_y; ++py) {
    for (std::int64_t px = area.first_x; px < area.end_x; ++px) {
      blend_coverage(canvas, box, color, px, py, weather_icon::pixel_coverage(drawing, area.side, px, py));
    }
  }
}

void draw_weather_icon(Canvas canvas, const IconBox& box, Rgb color, std::uint8_t kind, WeatherIconCache& cache) {
  if (kind > kLastCondition) return;
  const IconArea area = visible_area(canvas, box);
  if (area.empty()) return;
  if (area.side > WeatherIconCache::kLargestCachedSide) {
    draw_weather_icon(canvas, box, color, kind);
    return;
  }
  const std::vector<std::uint8_t>& mask = cache.mask(kind, area.side);
  for (std::int64_t py = area.first_y; py < area.end_y; ++py) {
    const std::size_t row = static_cast<std::size_t>(py * area.side);
    for (std::int64_t px = area.first_x; px < area.end_x; ++px) {
      blend_coverage(canvas, box, color, px, py, mask[row + static_cast<std::size_t>(px)]);
    }
  }
}

const std::vector<std::uint8_t>& WeatherIconCache::mask(std::uint8_t kind, std::int64_t side) {
  side = std::clamp<std::int64_t>(side, 1, kLargestCachedSide);
  ++clock_;
  Entry* slot = &entries_[0];
  for (Entry& entry : entries_) {
    if (entry.side == side && entry.kind == kind) {
      entry.last_use = clock_;
      return entry.coverage;
    }
    if (entry.last_use < slot->last_use) slot = &entry;
  }
  const weather_icon::Drawing drawing = weather_icon::drawing_for(kind, side);
  slot->coverage.assign(static_cast<std::size_t>(side * side), 0);
  for (std::int64_t py = 0; py < side; ++py) {
    for (std::int64_t px = 0; px < side; ++px) {
      slot->coverage[static_cast<std::size_t>(py * side + px)] = weather_icon::pixel_coverage(drawing, side, px, py);
    }
  }
  slot->kind = kind;
  slot->side = side;
  slot->last_use = clock_;
  ++computed_;
  return slot->coverage;
}

}  // namespace vessa
