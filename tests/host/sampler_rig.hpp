#pragma once
// A CounterSampler over scripted counters with its own clock and stored sample, ticked the
// way the bar window's update timer ticks it.

#include <chrono>
#include <cstdint>
#include <memory>

#include "config/config.hpp"
#include "metrics/counter_sampler.hpp"
#include "metrics/scripted_counters.hpp"

namespace vessa::testing {

using namespace std::chrono_literals;

class SamplerRig {
 public:
  explicit SamplerRig(std::optional<double> nominal_mhz = std::nullopt) {
    auto source = std::make_unique<ScriptedCounters>();
    counters = source.get();
    counters->offer_every_path = true;
    sampler = CounterSampler(std::move(source), nominal_mhz, 4);
    // Linear scales keep the expected percentages readable.
    config.metrics.network_logarithmic = false;
    config.metrics.disk_logarithmic = false;
  }

  void open() { sampler.open_counters(config); }

  // One update tick, `step` after the previous one. True when the stored sample changed.
  bool tick(std::chrono::milliseconds step = 1000ms) {
    now += step;
    const bool changed = sampler.sample(config.metrics, TickReadings{memory_load, now}, stored, has_sample);
    if (changed) has_sample = true;
    return changed;
  }

  // The percentage of the first bar of `kind`; -1 when there is none.
  [[nodiscard]] double bar(MetricKind kind) const {
    for (const BarValue& value : stored.bars) {
      if (value.kind == kind) return value.percent;
    }
    return -1.0;
  }

  ScriptedCounters* counters = nullptr;  // owned by the sampler
  CounterSampler sampler;
  Config config;
  MetricSample stored;
  bool has_sample = false;
  MonotonicTime now{};
  std::uint32_t memory_load = 37;
};

}  // namespace vessa::testing
