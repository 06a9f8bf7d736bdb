// The weather icon on a bar-sized canvas, the way each frame draws it: from the condition
// every time, or from the cached coverage mask.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "render/canvas.hpp"
#include "weather/weather_icon.hpp"

namespace {

using vessa::Canvas;
using vessa::IconBox;
using vessa::PixelBuffer;

constexpr vessa::Rgb kIconColor = vessa::rgb_hex(0xE8E8E8);

// A horizontal bar at 96 DPI (and larger ones, as at higher DPIs): the icon square of
// band − 2 × trim pixels at the left.
struct Bar {
  std::int32_t width;
  std::int32_t height;
  std::int32_t side;
};
constexpr Bar kBars[] = {{120, 32, 28}, {180, 48, 42}, {90, 24, 20}};

void fill_background(Canvas canvas) {
  std::fill(canvas.pixels, canvas.pixels + static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height),
            vessa::premultiply(0x20, 0x20, 0x20, 1));
}

// range(0): condition; range(1): bar.
void BM_IconUncached(benchmark::State& state) {
  const auto kind = static_cast<std::uint8_t>(state.range(0));
  const Bar bar = kBars[state.range(1)];
  PixelBuffer buffer(bar.width, bar.height);
  const IconBox box{8, 2, 8 + bar.side, 2 + bar.side};
  for (auto _ : state) {
    fill_background(buffer.canvas());
    vessa::draw_weather_icon(buffer.canvas(), box, kIconColor, kind);
    benchmark::DoNotOptimize(buffer.pixels().data());
  }
}

void BM_IconCached(benchmark::State& state) {
  const auto kind = static_cast<std::uint8_t>(state.range(0));
  const Bar bar = kBars[state.range(1)];
  PixelBuffer buffer(bar.width, bar.height);
  const IconBox box{8, 2, 8 + bar.side, 2 + bar.side};
  vessa::WeatherIconCache cache;
  for (auto _ : state) {
    fill_background(buffer.canvas());
    vessa::draw_weather_icon(buffer.canvas(), box, kIconColor, kind, cache);
    benchmark::DoNotOptimize(buffer.pixels().data());
  }
  state.counters["masks"] = static_cast<double>(cache.computed());
}

// A bar and a mirror of another size drawn in turn, as on a second display: both masks stay.
void BM_IconCachedTwoSizes(benchmark::State& state) {
  PixelBuffer bar(120, 32);
  PixelBuffer mirror(180, 48);
  vessa::WeatherIconCache cache;
  for (auto _ : state) {
    vessa::draw_weather_icon(bar.canvas(), IconBox{8, 2, 36, 30}, kIconColor, 7, cache);
    vessa::draw_weather_icon(mirror.canvas(), IconBox{8, 3, 50, 45}, kIconColor, 7, cache);
    benchmark::DoNotOptimize(bar.pixels().data());
    benchmark::DoNotOptimize(mirror.pixels().data());
  }
  state.counters["masks"] = static_cast<double>(cache.computed());
}

// Clear (one layer, many rays), PartlyCloudy (two layers with occlusion), Thunderstorm.
BENCHMARK(BM_IconUncached)->ArgsProduct({{0, 1, 7}, {0, 1, 2}});
BENCHMARK(BM_IconCached)->ArgsProduct({{0, 1, 7}, {0, 1, 2}});
BENCHMARK(BM_IconCachedTwoSizes);

}  // namespace

BENCHMARK_MAIN();
