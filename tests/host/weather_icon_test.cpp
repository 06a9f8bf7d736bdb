// The weather icon: stroke, fitting, coverage, compositing and the mask cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>
#include <vector>

#include "render/canvas.hpp"
#include "render/frame.hpp"
#include "render/rasterize.hpp"
#include "render/weather_icon.hpp"
#include "weather/weather_reading.hpp"

namespace vessa {
namespace {

using weather_icon::Drawing;
using weather_icon::Primitive;

constexpr Rgb kIconColor = rgb_hex(0xE8E8E8);
constexpr std::uint8_t kClear = 0;
constexpr std::uint8_t kPartlyCloudy = 1;

PixelBuffer filled(std::int32_t width, std::int32_t height, std::uint32_t pixel) {
  PixelBuffer buffer(width, height);
  Canvas canvas = buffer.canvas();
  std::fill(canvas.pixels, canvas.pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height), pixel);
  return buffer;
}

PixelBuffer icon_alone(std::uint8_t kind, std::int32_t side) {
  PixelBuffer buffer(side, side);
  draw_weather_icon(buffer.canvas(), IconBox{0, 0, side, side}, kIconColor, kind);
  return buffer;
}

TEST(WeatherIcon, StrokeIsEightAndAHalfPercentWithinLimits) {
  EXPECT_FLOAT_EQ(weather_icon::stroke_pixels(16), 1.36f);
  EXPECT_FLOAT_EQ(weather_icon::stroke_pixels(40), 3.0f);
  EXPECT_FLOAT_EQ(weather_icon::stroke_pixels(100), 3.0f);
  EXPECT_FLOAT_EQ(weather_icon::stroke_pixels(8), 1.2f);
  EXPECT_FLOAT_EQ(weather_icon::stroke_pixels(0), 1.2f);
  EXPECT_FLOAT_EQ(weather_icon::stroke_pixels(24), 2.04f);
}

TEST(WeatherIcon, TheOutlineStrokeHasTheStrokeWidth) {
  // Clear at 40 px: the sun's ring is 3 px wide. Along the row through the centre, between the
  // left ray's inner end and the centre, the ring covers three pixels' worth.
  const PixelBuffer icon = icon_alone(kClear, 40);
  const Drawing drawing = weather_icon::drawing_for(kClear, 40);
  const Primitive& sun = drawing.layers[0].outline.items[0];
  const int ray_start = static_cast<int>(std::ceil((sun.x0 - 1.4f * sun.radius) * 40.0f));
  std::uint32_t coverage = 0;
  for (int x = ray_start; x < 20; ++x) coverage += icon.at(x, 20) >> 24;
  EXPECT_NEAR(coverage / 255.0, 3.0, 0.25);
}

TEST(WeatherIcon, NoIconLeavesTheBitmapUnchanged) {
  for (const std::uint8_t kind : {std::uint8_t{255}, std::uint8_t{8}, std::uint8_t{254}}) {
    PixelBuffer buffer = filled(32, 32, 0xFF123456u);
    draw_weather_icon(buffer.canvas(), IconBox{0, 0, 32, 32}, kIconColor, kind);
    WeatherIconCache cache;
    draw_weather_icon(buffer.canvas(), IconBox{0, 0, 32, 32}, kIconColor, kind, cache);
    EXPECT_EQ(buffer.pixels(), filled(32, 32, 0xFF123456u).pixels()) << int{kind};
  }
}

TEST(WeatherIcon, CoverageComesInSixteenthsWithFullAndHalfPresent) {
  std::set<std::uint32_t> alphas;
  for (std::uint8_t kind = 0; kind < 8; ++kind) {
    const PixelBuffer icon = icon_alone(kind, 32);
    for (const std::uint32_t pixel : icon.pixels()) alphas.insert(pixel >> 24);
  }
  std::set<std::uint32_t> allowed;
  for (std::uint32_t hits = 0; hits <= 16; ++hits) allowed.insert(hits * 255 / 16);
  for (const std::uint32_t alpha : alphas) EXPECT_TRUE(allowed.count(alpha)) << alpha;
  EXPECT_TRUE(alphas.count(255));
  EXPECT_TRUE(alphas.count(127));
}

TEST(WeatherIcon, FullCoverageIsTheIconColourItselfAndHalfIsItsPremultipliedHalf) {
  const PixelBuffer icon = icon_alone(kClear, 32);
  bool full = false;
  bool half = false;
  for (const std::uint32_t pixel : icon.pixels()) {
    if ((pixel >> 24) == 255) {
      EXPECT_EQ(pixel, 0xFFE8E8E8u);
      full = true;
    } else if ((pixel >> 24) == 127) {
      // (232 * 127 + 127) / 255 = 116
      EXPECT_EQ(pixel, 0x7F747474u);
      half = true;
    }
  }
  EXPECT_TRUE(full);
  EXPECT_TRUE(half);
}

TEST(WeatherIcon, PartialCoverageBlendsOverTheBars) {
  const std::uint32_t background = 0xFF102030u;
  PixelBuffer buffer = filled(32, 32, background);
  draw_weather_icon(buffer.canvas(), IconBox{0, 0, 32, 32}, kIconColor, kClear);
  const PixelBuffer alone = icon_alone(kClear, 32);
  int blended = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::uint32_t a = alone.at(x, y) >> 24;
      const std::uint32_t got = buffer.at(x, y);
      if (a == 0) {
        EXPECT_EQ(got, background);
        continue;
      }
      // Each channel: source + (destination × (255 − a) + 127) / 255.
      const auto channel = [&](int shift) {
        const std::uint32_t source = ((0xE8u * a) + 127u) / 255u;
        const std::uint32_t destination = (background >> shift) & 0xFFu;
        return source + (destination * (255u - a) + 127u) / 255u;
      };
      const std::uint32_t expected = ((a + (255u * (255u - a) + 127u) / 255u) << 24) | (channel(16) << 16) |
                                     (channel(8) << 8) | channel(0);
      EXPECT_EQ(got, expected) << x << "," << y;
      ++blended;
    }
  }
  EXPECT_GT(blended, 50);
}

TEST(WeatherIcon, DrawsOnlyTheSquareOfTheSmallerSide) {
  PixelBuffer wide(48, 32);
  draw_weather_icon(wide.canvas(), IconBox{0, 0, 48, 24}, kIconColor, kClear);
  const PixelBuffer square = icon_alone(kClear, 24);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) {
      const std::uint32_t expected = (x < 24 && y < 24) ? square.at(x, y) : 0u;
      ASSERT_EQ(wide.at(x, y), expected) << x << "," << y;
    }
  }
}

TEST(WeatherIcon, EmptyOrInvertedBoxesDrawNothing) {
  for (const IconBox box : {IconBox{4, 4, 4, 20}, IconBox{4, 4, 20, 4}, IconBox{20, 20, 4, 4}}) {
    PixelBuffer buffer(24, 24);
    draw_weather_icon(buffer.canvas(), box, kIconColor, kClear);
    EXPECT_EQ(buffer.pixels(), PixelBuffer(24, 24).pixels());
  }
}

// The icon drawn into a box hanging over the bitmap's edges shows exactly the part of the
// unclipped icon that lies inside, and nothing wraps into other rows.
TEST(WeatherIcon, ClippedAtTheBitmapEdges) {
  constexpr std::int32_t kSide = 24;
  for (std::uint8_t kind = 0; kind < 8; ++kind) {
    const PixelBuffer whole = icon_alone(kind, kSide);
    for (const auto& [x0, y0] : {std::pair{-10, -7}, std::pair{10, 5}, std::pair{-5, 9}, std::pair{12, -12}}) {
      for (const bool cached : {false, true}) {
        PixelBuffer small(16, 16);
        const IconBox box{x0, y0, x0 + kSide, y0 + kSide};
        WeatherIconCache cache;
        if (cached) {
          draw_weather_icon(small.canvas(), box, kIconColor, kind, cache);
        } else {
          draw_weather_icon(small.canvas(), box, kIconColor, kind);
        }
        for (int y = 0; y < 16; ++y) {
          for (int x = 0; x < 16; ++x) {
            const int ix = x - x0;
            const int iy = y - y0;
            const bool inside = ix >= 0 && iy >= 0 && ix < kSide && iy < kSide;
            ASSERT_EQ(small.at(x, y), inside ? whole.at(ix, iy) : 0u)
                << "kind " << int{kind} << " box at " << x0 << "," << y0 << " pixel " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(WeatherIcon, BoxesFarOutsideOrAtTheIntegerLimitsAreSafe) {
  for (const IconBox box : {IconBox{100, 100, 124, 124}, IconBox{-50, -50, -26, -26}, IconBox{INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                            IconBox{INT_MAX - 4, 0, INT_MAX, 4}, IconBox{INT_MIN, 0, INT_MIN + 40, 40}}) {
    PixelBuffer buffer(16, 16);
    WeatherIconCache cache;
    draw_weather_icon(buffer.canvas(), box, kIconColor, 5);
    draw_weather_icon(buffer.canvas(), box, kIconColor, 5, cache);
    if (box.x0 >= 16 || box.x1 <= 0) {
      EXPECT_EQ(buffer.pixels(), PixelBuffer(16, 16).pixels());
    }
  }
}

TEST(WeatherIcon, ClearsSunIsCentredAndLargerThanPartlyCloudysSun) {
  for (const std::int64_t side : {16, 24, 32}) {
    const Drawing clear = weather_icon::drawing_for(kClear, side);
    const Drawing partly = weather_icon::drawing_for(kPartlyCloudy, side);
    const Primitive& clear_sun = clear.layers[0].outline.items[0];
    const Primitive& partly_sun = partly.layers[0].outline.items[0];
    EXPECT_NEAR(clear_sun.x0, 0.5f, 1e-5f);
    EXPECT_NEAR(clear_sun.y0, 0.5f, 1e-5f);
    EXPECT_GT(clear_sun.radius, partly_sun.radius * 1.2f) << side;
    EXPECT_LT(partly_sun.x0, 0.5f);
    EXPECT_LT(partly_sun.y0, 0.5f);
  }
  // The same seen in pixels: Clear's drawing is symmetric about the square's centre.
  const PixelBuffer icon = icon_alone(kClear, 32);
  int opaque_left = 0, opaque_right = 0, opaque_top = 0, opaque_bottom = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      if ((icon.at(x, y) >> 24) == 0) continue;
      (x < 16 ? opaque_left : opaque_right)++;
      (y < 16 ? opaque_top : opaque_bottom)++;
    }
  }
  EXPECT_EQ(opaque_left, opaque_right);
  EXPECT_EQ(opaque_top, opaque_bottom);
}

// Everything within the halo around PartlyCloudy's cloud, outside its stroke, stays empty,
// although the ray towards the cloud reaches into that band.
TEST(WeatherIcon, PartlyCloudysRaysStopShortOfTheCloud) {
  constexpr std::int64_t kSide = 200;  // fine pixels, thin stroke: the gap is several pixels wide
  const Drawing drawing = weather_icon::drawing_for(kPartlyCloudy, kSide);
  ASSERT_EQ(drawing.layer_count, 2u);
  const weather_icon::Layer& cloud = drawing.layers[1];
  const auto cloud_distance = [&](float x, float y) {
    float smallest = 1e9f;
    for (const Primitive& p : cloud.outline) smallest = std::min(smallest, p.signed_distance(x, y));
    return smallest;
  };
  const PixelBuffer icon = icon_alone(kPartlyCloudy, static_cast<std::int32_t>(kSide));
  int pixels_in_gap = 0;
  for (std::int64_t py = 0; py < kSide; ++py) {
    for (std::int64_t px = 0; px < kSide; ++px) {
      // The pixel's whole square lies in the band between the stroke and the halo's edge.
      const float cx = (static_cast<float>(px) + 0.5f) / kSide;
      const float cy = (static_cast<float>(py) + 0.5f) / kSide;
      const float d = cloud_distance(cx, cy);
      const float reach = 0.75f / kSide;  // half a pixel's diagonal
      if (d - reach > drawing.half && d + reach < weather_icon::kOcclusionHalo) {
        ++pixels_in_gap;
        EXPECT_EQ(icon.at(static_cast<std::int32_t>(px), static_cast<std::int32_t>(py)), 0u) << px << "," << py;
      }
    }
  }
  EXPECT_GT(pixels_in_gap, 500);

  // The ray pointing right (angle 0) would reach into that band; it is drawn up to it.
  const Primitive& ray = drawing.layers[0].fill.items[0];
  ASSERT_LT(cloud_distance(ray.x1, ray.y1) - ray.radius, weather_icon::kOcclusionHalo);
  EXPECT_EQ(icon.at(static_cast<std::int32_t>(ray.x0 * kSide) + 1, static_cast<std::int32_t>(ray.y0 * kSide)) >> 24,
            255u);
}

TEST(WeatherIcon, EveryDrawingFillsTheSquareBarTheMargin) {
  for (std::uint8_t kind = 0; kind < 8; ++kind) {
    for (const std::int64_t side : {8, 16, 24, 32, 40}) {
      const Drawing drawing = weather_icon::drawing_for(kind, side);
      const weather_icon::Bounds box = weather_icon::bounds_of(drawing);
      const float half = weather_icon::stroke_pixels(side) / static_cast<float>(side) / 2.0f;
      EXPECT_FLOAT_EQ(drawing.half, half);
      const float width = box.x1 - box.x0;
      const float height = box.y1 - box.y0;
      const float lo = 0.02f + half;
      const float hi = 0.98f - half;
      // The limiting axis spans margin to margin; the other is centred.
      if (width >= height) {
        EXPECT_NEAR(box.x0, lo, 1e-5f) << int{kind} << " at " << side;
        EXPECT_NEAR(box.x1, hi, 1e-5f) << int{kind} << " at " << side;
        EXPECT_NEAR(box.y0 + box.y1, 1.0f, 1e-5f) << int{kind} << " at " << side;
      } else {
        EXPECT_NEAR(box.y0, lo, 1e-5f) << int{kind} << " at " << side;
        EXPECT_NEAR(box.y1, hi, 1e-5f) << int{kind} << " at " << side;
        EXPECT_NEAR(box.x0 + box.x1, 1.0f, 1e-5f) << int{kind} << " at " << side;
      }
    }
  }
}

TEST(WeatherIcon, EveryConditionDrawsSomethingDifferent) {
  std::set<std::vector<std::uint32_t>> images;
  for (std::uint8_t kind = 0; kind < 8; ++kind) {
    const PixelBuffer icon = icon_alone(kind, 24);
    EXPECT_GT(std::count_if(icon.pixels().begin(), icon.pixels().end(), [](std::uint32_t p) { return p != 0; }), 40)
        << int{kind};
    images.insert(icon.pixels());
  }
  EXPECT_EQ(images.size(), 8u);
}

TEST(WeatherIconCache, CachedPixelsEqualUncachedForEveryConditionAndSize) {
  WeatherIconCache cache;
  for (const std::int32_t side : {16, 24, 32}) {
    for (std::uint8_t kind = 0; kind < 8; ++kind) {
      const IconBox box{3, 2, 3 + side, 2 + side + 5};
      PixelBuffer uncached = filled(side + 8, side + 8, 0xFF203040u);
      PixelBuffer cached = filled(side + 8, side + 8, 0xFF203040u);
      draw_weather_icon(uncached.canvas(), box, kIconColor, kind);
      draw_weather_icon(cached.canvas(), box, kIconColor, kind, cache);
      ASSERT_EQ(cached.pixels(), uncached.pixels()) << "kind " << int{kind} << " at " << side;
      // Drawn again from the cache, still the same.
      PixelBuffer again = filled(side + 8, side + 8, 0xFF203040u);
      draw_weather_icon(again.canvas(), box, kIconColor, kind, cache);
      ASSERT_EQ(again.pixels(), uncached.pixels()) << "kind " << int{kind} << " at " << side;
    }
  }
}

TEST(WeatherIconCache, ASteadyTickComputesTheMaskOnce) {
  WeatherIconCache cache;
  PixelBuffer buffer(24, 24);
  for (int tick = 0; tick < 10; ++tick) draw_weather_icon(buffer.canvas(), IconBox{0, 0, 24, 24}, kIconColor, 5, cache);
  EXPECT_EQ(cache.computed(), 1u);
  // A bar and a mirror of another size take turns: two masks, each computed once.
  for (int tick = 0; tick < 10; ++tick) {
    draw_weather_icon(buffer.canvas(), IconBox{0, 0, 24, 24}, kIconColor, 5, cache);
    draw_weather_icon(buffer.canvas(), IconBox{0, 0, 18, 18}, kIconColor, 5, cache);
  }
  EXPECT_EQ(cache.computed(), 2u);
}

TEST(WeatherIconCache, TheLeastRecentlyUsedMaskMakesRoom) {
  WeatherIconCache cache;
  PixelBuffer buffer(32, 32);
  const auto draw = [&](std::uint8_t kind) {
    draw_weather_icon(buffer.canvas(), IconBox{0, 0, 20, 20}, kIconColor, kind, cache);
  };
  for (std::uint8_t kind = 0; kind < WeatherIconCache::kEntries; ++kind) draw(kind);
  EXPECT_EQ(cache.computed(), WeatherIconCache::kEntries);
  draw(0);  // used again: now the most recent
  draw(7);  // replaces kind 1, the least recently used
  EXPECT_EQ(cache.computed(), WeatherIconCache::kEntries + 1);
  draw(0);
  EXPECT_EQ(cache.computed(), WeatherIconCache::kEntries + 1);
  draw(1);
  EXPECT_EQ(cache.computed(), WeatherIconCache::kEntries + 2);

  // Many sizes in turn never give a wrong mask.
  for (std::int32_t side = 1; side <= 12; ++side) {
    for (const std::uint8_t kind : {std::uint8_t{2}, std::uint8_t{6}}) {
      PixelBuffer cached(12, 12);
      PixelBuffer uncached(12, 12);
      draw_weather_icon(cached.canvas(), IconBox{0, 0, side, side}, kIconColor, kind, cache);
      draw_weather_icon(uncached.canvas(), IconBox{0, 0, side, side}, kIconColor, kind);
      ASSERT_EQ(cached.pixels(), uncached.pixels()) << side;
    }
  }
}

// The renderer's frames with the cache kept across them are the frames without it.
TEST(WeatherIconCache, FramesPaintedWithTheCacheAreTheSame) {
  WeatherIconCache cache;
  for (std::uint8_t kind = 0; kind < 8; ++kind) {
    FrameModel frame;
    frame.background = rgb_hex(0x202020);
    frame.shapes.push_back(Shape{30, 10, 110, 13, rgb_hex(0x47A8D8), 255, false});
    frame.shapes.push_back(Shape{0, 0, 12, 12, rgb_hex(0x93C13D), 200, true});  // under the icon
    frame.icon_box = IconBox{4, 2, 4 + 24, 2 + 24};
    frame.icon_color = kIconColor;
    frame.icon_kind = kind;
    PixelBuffer plain(120, 28);
    PixelBuffer cached(120, 28);
    rasterize(frame, plain.canvas());
    rasterize(frame, cached.canvas(), cache);
    rasterize(frame, cached.canvas(), cache);  // the second frame comes from the cache
    ASSERT_EQ(cached.pixels(), plain.pixels()) << int{kind};
  }
  EXPECT_LE(cache.computed(), 8u);
}

}  // namespace
}  // namespace vessa
