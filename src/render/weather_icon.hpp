#pragma once
// The weather icon: a condition's line drawing, anti-aliased and composited in one colour
// over the bar bitmap.
//
// Each condition is a fixed drawing of discs and capsules in the unit square, fitted to the
// icon's square, sampled 16 times per pixel and blended source-over onto the canvas. The
// coverage of a pixel depends only on the condition and the square's size, so a renderer
// that draws many frames can keep the masks in a WeatherIconCache; the pixels are the same
// with and without it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/rgb.hpp"
#include "render/canvas.hpp"
#include "render/frame.hpp"

namespace vessa {

// Recently used coverage masks, one per (condition, square size). Not thread-safe: it belongs
// to the thread that renders (the main thread), which keeps it across frames.
class WeatherIconCache {
 public:
  static constexpr std::size_t kEntries = 4;  // bar, a mirror or two and the settings preview
  static constexpr std::int64_t kLargestCachedSide = 512;  // larger squares are drawn uncached

  // The mask of `kind` (0..7) at `side` × `side` pixels, row by row; computed when missing,
  // replacing the least recently used entry. `side` is taken within 1 .. kLargestCachedSide.
  // The reference stays valid until the next call.
  [[nodiscard]] const std::vector<std::uint8_t>& mask(std::uint8_t kind, std::int64_t side);

  // How many masks have been computed so far (for tests and benchmarks).
  [[nodiscard]] std::uint64_t computed() const noexcept { return computed_; }

 private:
  struct Entry {
    std::uint8_t kind = 0;
    std::int64_t side = 0;  // 0: empty
    std::uint64_t last_use = 0;
    std::vector<std::uint8_t> coverage;
  };
  std::array<Entry, kEntries> entries_{};
  std::uint64_t clock_ = 0;
  std::uint64_t computed_ = 0;
};

// Draws the icon of condition `kind` (0..7) into the square at the top left of `box` (its side
// is the box's smaller dimension), clipped to the canvas. Nothing for kNoIcon, for any other
// number above 7 and for an empty box.
void draw_weather_icon(Canvas canvas, const IconBox& box, Rgb color, std::uint8_t kind);
// The same, taking the coverage mask from `cache`.
void draw_weather_icon(Canvas canvas, const IconBox& box, Rgb color, std::uint8_t kind, WeatherIconCache& cache);

// The drawing model behind the icon, in unit icon coordinates (0..1, y downwards).
namespace weather_icon {

struct Primitive {
  enum class Kind : std::uint8_t { Disc, Capsule };
  Kind kind = Kind::Disc;
  float x0 = 0, y0 = 0;  // disc: centre; capsule: first end
  float x1 = 0, y1 = 0;  // capsule: second end
  float radius = 0;      // disc: radius; capsule: half-width

  // Distance from (x, y) to the shape's edge, negative inside.
  [[nodiscard]] float signed_distance(float x, float y) const noexcept;
};

inline constexpr std::size_t kMaxPrimitives = 8;

struct PrimitiveList {
  std::array<Primitive, kMaxPrimitives> items{};
  std::size_t count = 0;

  void add(const Primitive& primitive) noexcept {
    if (count < items.size()) items[count++] = primitive;
  }
  [[nodiscard]] const Primitive* begin() const noexcept { return items.data(); }
  [[nodiscard]] const Primitive* end() const noexcept { return items.data() + count; }
};

// The union of `outline` is stroked, the union of `fill` is filled.
struct Layer {
  PrimitiveList outline;
  PrimitiveList fill;
};

// A condition's layers from back to front, fitted to a square of `side` pixels.
struct Drawing {
  std::array<Layer, 2> layers{};
  std::size_t layer_count = 0;
  float half = 0;  // half the outline stroke, in unit coordinates
};

// Stroke width in pixels for a square of `side` pixels: 8.5 % of it, within 1.2 .. 3.0.
[[nodiscard]] float stroke_pixels(std::int64_t side) noexcept;

// The fitted drawing of `kind` (0..7) for a square of `side` (at least 1) pixels.
[[nodiscard]] Drawing drawing_for(std::uint8_t kind, std::int64_t side) noexcept;

// The bounding box of every primitive of every layer.
struct Bounds {
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};
[[nodiscard]] Bounds bounds_of(const Drawing& drawing) noexcept;

// Coverage 0..255 of pixel (px, py) of a square of `side` pixels: 16 samples, each a hit or
// not, scaled as hits × 255 / 16.
[[nodiscard]] std::uint8_t pixel_coverage(const Drawing& drawing, std::int64_t side, std::int64_t px,
                                          std::int64_t py) noexcept;

// Distance below which a front layer hides the layers behind it (a halo around the cloud).
inline constexpr float kOcclusionHalo = 0.045f;

}  // namespace weather_icon
}  // namespace vessa
