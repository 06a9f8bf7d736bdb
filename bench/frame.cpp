// The cost of one picture of the bars: laying the frame out (build_frame) and painting it
// (rasterize), for the default bar on a common taskbar at 96 and 192 DPI and for a fuller bar
// (five items, four disk lamps); the drawing part of an update tick, which paints straight into
// the window's bitmap as the renderer does; and a whole update tick whose figures changed:
// sampling scripted counters, the frame and the pixels.
#include <benchmark/benchmark.h>

#include "config/colors.hpp"
#include "config/config.hpp"
#include "metrics/sample.hpp"
#include "render/bar_frame.hpp"
#include "render/canvas.hpp"
#include "render/placement.hpp"
#include "render/rasterize.hpp"
#include "../tests/host/sampler_rig.hpp"

namespace vessa {
namespace {

struct Scene {
  Config config;
  ResolvedColors colors;
  MetricSample sample;
  PlacementResult layout;
  std::uint32_t dpi = 96;
};

// A 48-pixel taskbar at the bottom of a 1920 × 1080 display (scaled with the DPI), with a
// notification area at its right.
Scene scene(std::uint32_t dpi, bool full) {
  Scene s;
  s.dpi = dpi;
  if (full) {
    s.config.metrics.items = {MetricKind::Cpu, MetricKind::Memory, MetricKind::Disk, MetricKind::Net, MetricKind::Gpu};
  }
  s.colors = resolve_colors(s.config.appearance, true);
  const std::int32_t scale = static_cast<std::int32_t>(dpi);
  const Rect taskbar{0, 1032 * scale / 96, 1920 * scale / 96, 1080 * scale / 96};
  const Rect tray{1700 * scale / 96, taskbar.top, taskbar.right, taskbar.bottom};
  s.layout = compute_placement(s.config, taskbar, dpi, s.config.metrics.items.size(), tray);
  const double percents[] = {37.5, 62.0, 12.0, 0.0, 81.0};
  for (std::size_t i = 0; i < s.config.metrics.items.size(); ++i) {
    s.sample.bars.push_back({percents[i], s.config.metrics.items[i]});
  }
  s.sample.net_rx_percent = 40;
  s.sample.net_tx_percent = 75;
  if (full) {
    s.sample.disks = {{"C:", 1e6, true, false}, {"D:", 0, false, false}, {"E:", 5e6, true, true}, {"F:", 2e5, false, true}};
  } else {
    s.sample.lamp_lit = true;
  }
  return s;
}

FrameModel frame_of(const Scene& s) {
  return build_frame(s.config, s.colors, s.sample, s.layout.geometry, s.layout.placement.width,
                     s.layout.placement.height, s.dpi, kNoIcon, std::nullopt);
}

void frame_and_raster(benchmark::State& state, std::uint32_t dpi, bool full) {
  const Scene s = scene(dpi, full);
  PixelBuffer buffer(s.layout.placement.width, s.layout.placement.height);
  for (auto _ : state) {
    const FrameModel frame = frame_of(s);
    rasterize(frame, buffer.canvas());
    benchmark::DoNotOptimize(buffer.canvas().pixels);
  }
  state.counters["pixels"] = static_cast<double>(s.layout.placement.width) * s.layout.placement.height;
}

void BM_BuildFrame_DefaultBar96(benchmark::State& state) {
  const Scene s = scene(96, false);
  for (auto _ : state) benchmark::DoNotOptimize(frame_of(s));
}
BENCHMARK(BM_BuildFrame_DefaultBar96);

void BM_FrameAndRaster_DefaultBar96(benchmark::State& state) { frame_and_raster(state, 96, false); }
BENCHMARK(BM_FrameAndRaster_DefaultBar96);

void BM_FrameAndRaster_DefaultBar192(benchmark::State& state) { frame_and_raster(state, 192, false); }
BENCHMARK(BM_FrameAndRaster_DefaultBar192);

void BM_FrameAndRaster_FiveItemsFourLamps96(benchmark::State& state) { frame_and_raster(state, 96, true); }
BENCHMARK(BM_FrameAndRaster_FiveItemsFourLamps96);

void BM_FrameAndRaster_FiveItemsFourLamps192(benchmark::State& state) { frame_and_raster(state, 192, true); }
BENCHMARK(BM_FrameAndRaster_FiveItemsFourLamps192);

// The drawing part of a tick that changed the sample: a new value, the frame, and the pixels
// painted into the bitmap the window is updated from.
void BM_TickDrawing_DefaultBar96(benchmark::State& state) {
  Scene s = scene(96, false);
  PixelBuffer bitmap(s.layout.placement.width, s.layout.placement.height);
  double value = 0;
  for (auto _ : state) {
    value = value >= 100 ? 0 : value + 1;
    s.sample.bars[0].percent = value;
    const FrameModel frame = frame_of(s);
    rasterize(frame, bitmap.canvas());
    benchmark::DoNotOptimize(bitmap.canvas().pixels);
  }
}
BENCHMARK(BM_TickDrawing_DefaultBar96);

// A whole tick on a busy machine (every item, four physical disks, the lamp on, 200 graphics
// engines), with a memory load that changes every tick so that every tick draws.
void BM_WholeTick_FiveItemsFourLamps96(benchmark::State& state) {
  testing::SamplerRig rig(3000.0);
  testing::script_busy_machine(rig);
  rig.open();
  for (int i = 0; i < 3; ++i) (void)rig.tick();  // priming and first readings
  Scene s = scene(96, true);
  s.config = rig.config;
  PixelBuffer bitmap(s.layout.placement.width, s.layout.placement.height);
  std::uint32_t load = 40;
  for (auto _ : state) {
    rig.memory_load = (load ^= 1u);
    if (!rig.tick()) state.SkipWithError("the sample did not change");
    const FrameModel frame = build_frame(rig.config, s.colors, rig.stored, s.layout.geometry, s.layout.placement.width,
                                         s.layout.placement.height, 96, kNoIcon, std::nullopt);
    rasterize(frame, bitmap.canvas());
    benchmark::DoNotOptimize(bitmap.canvas().pixels);
  }
}
BENCHMARK(BM_WholeTick_FiveItemsFourLamps96);

}  // namespace
}  // namespace vessa

BENCHMARK_MAIN();
