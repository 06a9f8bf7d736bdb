// One update tick of the sampler over scripted counters: every item, four physical disks and
// the disk lamp, 200 graphics-engine instances. Reported per tick.

#include <benchmark/benchmark.h>

#include "../tests/host/sampler_rig.hpp"

namespace {

using vessa::testing::SamplerRig;

void prepare(SamplerRig& rig) {
  vessa::testing::script_busy_machine(rig);
  rig.open();
  for (int i = 0; i < 3; ++i) rig.tick();  // priming and first readings
}

// The common case on an idle machine: the figures did not change, nothing is stored.
void SampleTickUnchanged(benchmark::State& state) {
  SamplerRig rig(3000.0);
  prepare(rig);
  for (auto _ : state) benchmark::DoNotOptimize(rig.tick());
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("per tick");
}
BENCHMARK(SampleTickUnchanged);

// Every tick differs (the memory load alternates), so every tick stores its sample.
void SampleTickChanged(benchmark::State& state) {
  SamplerRig rig(3000.0);
  prepare(rig);
  std::uint32_t load = 40;
  for (auto _ : state) {
    rig.memory_load = (load ^= 1u);
    benchmark::DoNotOptimize(rig.tick());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("per tick");
}
BENCHMARK(SampleTickChanged);

}  // namespace

BENCHMARK_MAIN();
