#pragma once
// MetricSample: the figures of one update tick, shared by the bars, the lamps and the tooltip.

#include <optional>
#include <string>
#include <vector>

#include "config/enums.hpp"

namespace vessa {

struct BarValue {
  double percent = 0.0;  // 0..100
  MetricKind kind = MetricKind::Cpu;

  friend bool operator==(const BarValue&, const BarValue&) = default;
};

struct DiskLamp {
  std::string label;
  double bytes_per_sec = 0.0;  // read plus write
  bool read_lit = false;
  bool write_lit = false;

  friend bool operator==(const DiskLamp&, const DiskLamp&) = default;
};

struct MetricSample {
  std::optional<double> cpu_mhz;
  std::vector<BarValue> bars;   // one per configured item, in item order
  std::vector<DiskLamp> disks;  // one per physical disk
  double disk_busy_percent = 0.0;
  double net_rx_bytes_per_sec = 0.0;
  double net_tx_bytes_per_sec = 0.0;
  double net_rx_percent = 0.0;
  double net_tx_percent = 0.0;
  bool lamp_lit = false;

  // The change check of the update tick: every real compared exactly (a NaN never equals),
  // labels byte for byte, the frequency absent in both or present and equal in both.
  friend bool operator==(const MetricSample&, const MetricSample&) = default;
};

}  // namespace vessa
