// A frame of the bars with the weather icon, the way every update tick draws it: laid out by
// build_frame and painted by rasterize, with the icon's coverage computed afresh each time or
// taken from the WeatherIconCache the bar window keeps. Also the icon alone on a bar-sized
// canvas.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "config/colors.hpp"
#include "config/config.hpp"
#include "metrics/sample.hpp"
#include "render/bar_frame.hpp"
#include "render/canvas.hpp"
#include "render/placement.hpp"
#include "render/rasterize.hpp"
#include "render/weather_icon.hpp"

namespace vessa {
namespace {

struct Scene {
  Config config;
  ResolvedColors colors;
  MetricSample sample;
  PlacementResult layout;
  std::uint32_t dpi = 96;
};

// The default bar with weather on, on a 48-pixel taskbar at the bottom of a 1920 × 1080
// display (scaled with the DPI), with a notification area at its right.
Scene scene(std::uint32_t dpi) {
  Scene s;
  s.dpi = dpi;
  s.config.weather.enabled = true;
  s.config.weather.latitude = 35.6812;
  s.config.weather.longitude = 139.7671;
  s.colors = resolve_colors(s.config.appearance, true);
  const auto scale = static_cast<std::int32_t>(dpi);
  const Rect taskbar{0, 1032 * scale / 96, 1920 * scale / 96, 1080 * scale / 96};
  const Rect tray{1700 * scale / 96, taskbar.top, taskbar.right, taskbar.bottom};
  s.layout = compute_placement(s.config, taskbar, dpi, s.config.metrics.items.size(), tray);
  const double percents[] = {37.5, 62.0, 12.0, 0.0, 81.0};
  for (std::size_t i = 0; i < s.config.metrics.items.size(); ++i) {
    s.sample.bars.push_back({percents[i % 5], s.config.metrics.items[i]});
  }
  s.sample.net_rx_percent = 40;
  s.sample.net_tx_percent = 75;
  s.sample.lamp_lit = true;
  return s;
}

FrameModel frame_of(const Scene& s, std::uint8_t kind) {
  return build_frame(s.config, s.colors, s.sample, s.layout.geometry, s.layout.placement.width,
                     s.layout.placement.height, s.dpi, kind, std::nullopt);
}

// range(0): DPI; range(1): condition.
void BM_FrameWithIconUncached(benchmark::State& state) {
  const Scene s = scene(static_cast<std::uint32_t>(state.range(0)));
  const auto kind = static_cast<std::uint8_t>(state.range(1));
  PixelBuffer buffer(s.layout.placement.width, s.layout.placement.height);
  for (auto _ : state) {
    const FrameModel frame = frame_of(s, kind);
    rasterize(frame, buffer.canvas());
    benchmark::DoNotOptimize(buffer.canvas().pixels);
  }
}

void BM_FrameWithIconCached(benchmark::State& state) {
  const Scene s = scene(static_cast<std::uint32_t>(state.range(0)));
  const auto kind = static_cast<std::uint8_t>(state.range(1));
  PixelBuffer buffer(s.layout.placement.width, s.layout.placement.height);
  WeatherIconCache cache;
  for (auto _ : state) {
    const FrameModel frame = frame_of(s, kind);
    rasterize(frame, buffer.canvas(), cache);
    benchmark::DoNotOptimize(buffer.canvas().pixels);
  }
  state.counters["masks"] = static_cast<double>(cache.computed());
}

void BM_FrameWithoutIcon(benchmark::State& state) {
  const Scene s = scene(static_cast<std::uint32_t>(state.range(0)));
  PixelBuffer buffer(s.layout.placement.width, s.layout.placement.height);
  for (auto _ : state) {
    const FrameModel frame = frame_of(s, kNoIcon);
    rasterize(frame, buffer.canvas());
    benchmark::DoNotOptimize(buffer.canvas().pixels);
  }
}

// The icon alone in a 28-pixel square of a 120 × 32 canvas.
void BM_IconAloneUncached(benchmark::State& state) {
  const auto kind = static_cast<std::uint8_t>(state.range(0));
  PixelBuffer buffer(120, 32);
  for (auto _ : state) {
    draw_weather_icon(buffer.canvas(), IconBox{8, 2, 36, 30}, rgb_hex(0xE8E8E8), kind);
    benchmark::DoNotOptimize(buffer.canvas().pixels);
  }
}

void BM_IconAloneCached(benchmark::State& state) {
  const auto kind = static_cast<std::uint8_t>(state.range(0));
  PixelBuffer buffer(120, 32);
  WeatherIconCache cache;
  for (auto _ : state) {
    draw_weather_icon(buffer.canvas(), IconBox{8, 2, 36, 30}, rgb_hex(0xE8E8E8), kind, cache);
    benchmark::DoNotOptimize(buffer.canvas().pixels);
  }
}

// Clear (many rays), PartlyCloudy (two layers, with the halo test), Thunderstorm.
BENCHMARK(BM_FrameWithIconUncached)->ArgsProduct({{96, 192}, {0, 1, 7}});
BENCHMARK(BM_FrameWithIconCached)->ArgsProduct({{96, 192}, {0, 1, 7}});
BENCHMARK(BM_FrameWithoutIcon)->Arg(96)->Arg(192);
BENCHMARK(BM_IconAloneUncached)->Arg(0)->Arg(1)->Arg(7);
BENCHMARK(BM_IconAloneCached)->Arg(0)->Arg(1)->Arg(7);

}  // namespace
}  // namespace vessa

BENCHMARK_MAIN();
