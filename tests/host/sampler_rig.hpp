#pragma once
// A CounterSampler over scripted counters with its own clock and stored sample, ticked the
// way the bar window's update timer ticks it. Also used by bench/sample_tick.cpp.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "config/config.hpp"
#include "metrics/counter_sampler.hpp"
#include "scripted_counters.hpp"

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

// Every item, four physical disks, the lamp on, and arrays with names too long for the
// short-string buffer, as on a real machine.
inline void script_busy_machine(SamplerRig& rig) {
  namespace path = counter_path;
  rig.config.metrics.items = {MetricKind::Cpu, MetricKind::Memory, MetricKind::Disk, MetricKind::Net, MetricKind::Gpu};
  rig.config.metrics.disk_lamp = true;
  rig.config.metrics.disk_lamp_hold_ms = 1500;
  rig.config.metrics.disk_lamp_threshold_bytes_per_sec = 262144.0;
  ScriptedCounters& c = *rig.counters;
  c.set_instances("PhysicalDisk", {"0 C: D:", "1 E:", "2 F: G: H:", "3"});
  c.set_value(path::kProcessorUtility, 23.5);
  c.set_value(path::kProcessorPerformance, 97.0);
  c.set_array(path::kDiskTime, {{"C:", 3.0}, {"D:", 1.0}, {"E:", 0.5}, {"HarddiskVolume1", 0.0}, {"_Total", 1.1}});
  std::vector<CounterItem> engines;
  for (int pid = 1000; pid < 1040; ++pid) {
    for (const char* type : {"3D", "Copy", "VideoDecode", "VideoProcessing", "Compute_0"}) {
      engines.push_back({"pid_" + std::to_string(pid) + "_luid_0x00000000_0x0000D1C4_phys_0_eng_0_engtype_" + type,
                         (pid % 7) * 0.25});
    }
  }
  c.set_array(path::kGpuEngine, engines);
  c.set_interfaces({{"Intel(R) Ethernet Connection (7) I219-V", true}, {"Wi-Fi Direct Virtual Adapter", false}});
  c.set_array("\\Network Interface(*)\\Bytes Received/sec",
              {{"Intel[R] Ethernet Connection (7) I219-V", 125'000.0}, {"Wi-Fi Direct Virtual Adapter", 0.0}});
  c.set_array("\\Network Interface(*)\\Bytes Sent/sec",
              {{"Intel[R] Ethernet Connection (7) I219-V", 9'000.0}, {"Wi-Fi Direct Virtual Adapter", 0.0}});
  c.set_array(path::kDiskReadBytes,
              {{"0 C: D:", 300'000.0}, {"1 E:", 0.0}, {"2 F: G: H:", 4096.0}, {"3", 0.0}, {"_Total", 304'096.0}});
  c.set_array(path::kDiskWriteBytes,
              {{"0 C: D:", 0.0}, {"1 E:", 0.0}, {"2 F: G: H:", 500'000.0}, {"3", 0.0}, {"_Total", 500'000.0}});
}

}  // namespace vessa::testing
