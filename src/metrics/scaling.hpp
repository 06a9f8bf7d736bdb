#pragma once
// Raw readings to what is drawn: bar percentages, the two network halves and the disk lamps
// with their hold times. Plain functions of their arguments and the `metrics` settings (read
// afresh every tick); only update_lamps changes state, the hold maps it is given. All
// arithmetic is in doubles and safe for any input: NaN, infinities and huge settings give a
// defined percentage between 0 and 100.

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "config/config.hpp"
#include "metrics/physical_disks.hpp"
#include "metrics/sample.hpp"

namespace vessa {

// A reading of the monotonic clock, taken once per tick.
using MonotonicTime = std::chrono::time_point<std::chrono::steady_clock, std::chrono::nanoseconds>;

// The larger of x and 0, then the smaller of that and 100; NaN counts as 0.
[[nodiscard]] double clamp_percent(double x) noexcept;

// A rate in bytes per second as a percentage of `network_scale_mbps`, linear or logarithmic
// between `network_floor_bytes_per_sec` and the full scale.
[[nodiscard]] double scale_network(double bytes_per_sec, const Metrics& metrics) noexcept;

// A disk busy figure in percent as the disk bar's percentage, logarithmic when asked.
[[nodiscard]] double scale_disk(double busy, const Metrics& metrics) noexcept;

// The busy figure the tooltip shows: always linear.
[[nodiscard]] double disk_busy_percent(double busy) noexcept;

// The larger of the two network rates; when one is NaN, the other.
[[nodiscard]] double larger_rate(double received, double sent) noexcept;

// One tick's raw figures.
struct RawFigures {
  double cpu_load = 0.0;     // percent, may exceed 100
  double memory_load = 0.0;  // percent
  double disk_busy = 0.0;    // percent
  double net_rx = 0.0;       // bytes per second
  double net_tx = 0.0;       // bytes per second
  double gpu_load = 0.0;     // percent
};

// The percentage of one bar of the given kind.
[[nodiscard]] double bar_percent(MetricKind kind, const RawFigures& figures, const Metrics& metrics) noexcept;

// now + hold_ms, saturating at the latest representable time instead of overflowing.
[[nodiscard]] MonotonicTime lamp_deadline(MonotonicTime now, std::uint64_t hold_ms) noexcept;

// Until when each disk's lamp stays lit, keyed by the exact PhysicalDisk instance name.
using LampHoldMap = std::unordered_map<std::string, MonotonicTime>;

struct LampHolds {
  LampHoldMap read;
  LampHoldMap write;
};

// One tick of the disk lamps. `read_rates` and `write_rates` are per disk, in `disks` order.
// Updates the hold maps, drops every hold that is over by `now`, and writes one DiskLamp per
// disk into `lamps` (reusing its storage). With no disks both maps are emptied. Returns
// whether any lamp is lit.
bool update_lamps(std::span<const PhysicalDiskEntry> disks, std::span<const double> read_rates,
                  std::span<const double> write_rates, MonotonicTime now, const Metrics& metrics, LampHolds& holds,
                  std::vector<DiskLamp>& lamps);

// Whether some disk shows its read or write lamp.
[[nodiscard]] bool lamp_lit(std::span<const DiskLamp> lamps) noexcept;

}  // namespace vessa
