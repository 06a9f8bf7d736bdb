#include "metrics/scaling.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vessa {
namespace {

constexpr double kBytesPerSecondPerMbps = 1'000'000.0 / 8.0;

}  // namespace

double clamp_percent(double x) noexcept {
  // fmax and fmin drop a NaN operand, so a NaN reading becomes 0.
  return std::fmin(std::fmax(x, 0.0), 100.0);
}

double scale_network(double bytes_per_sec, const Metrics& metrics) noexcept {
  const double scale = std::fmax(0.0, metrics.network_scale_mbps) * kBytesPerSecondPerMbps;
  if (!std::isfinite(bytes_per_sec) || !(scale > 0.0)) return 0.0;
  const double rate = std::max(bytes_per_sec, 0.0);
  const double floor = std::fmax(metrics.network_floor_bytes_per_sec, 1.0);
  if (metrics.network_logarithmic && floor < scale) {
    if (rate <= floor) return 0.0;
    // floor >= 1 keeps rate / floor finite; floor < scale keeps the divisor above 0.
    return clamp_percent(100.0 * std::log(rate / floor) / std::log(scale / floor));
  }
  // An infinite scale with a huge rate gives inf / inf: NaN, shown as 0 like any rate against
  // an infinite scale.
  return clamp_percent(rate * 100.0 / scale);
}

double scale_disk(double busy, const Metrics& metrics) noexcept {
  const double p = clamp_percent(std::isfinite(busy) ? busy : 0.0);
  const double strength = metrics.disk_log_strength;
  if (!metrics.disk_logarithmic || !(strength > std::numeric_limits<double>::epsilon())) return p;
  // The curve's limit for an unbounded strength: any load fills the bar.
  if (std::isinf(strength)) return p > 0.0 ? 100.0 : 0.0;
  double x = strength * p / 100.0;
  if (!std::isfinite(x)) x = strength * (p / 100.0);  // strength near the largest double
  return clamp_percent(100.0 * std::log(1.0 + x) / std::log(1.0 + strength));
}

double disk_busy_percent(double busy) noexcept { return clamp_percent(busy); }

double larger_rate(double received, double sent) noexcept { return std::fmax(received, sent); }

double bar_percent(MetricKind kind, const RawFigures& figures, const Metrics& metrics) noexcept {
  switch (kind) {
    case MetricKind::Cpu:
      return clamp_percent(figures.cpu_load);
    case MetricKind::Memory:
      return clamp_percent(figures.memory_load);
    case MetricKind::Disk:
      return scale_disk(figures.disk_busy, metrics);
    case MetricKind::Net:
      return scale_network(larger_rate(figures.net_rx, figures.net_tx), metrics);
    case MetricKind::Gpu:
      return clamp_percent(figures.gpu_load);
  }
  return 0.0;
}

MonotonicTime lamp_deadline(MonotonicTime now, std::uint64_t hold_ms) noexcept {
  constexpr std::uint64_t kNanosecondsPerMillisecond = 1'000'000;
  const std::int64_t start = now.time_since_epoch().count();
  // Room left before the largest time, computed in unsigned arithmetic so that a negative
  // start cannot overflow.
  const std::uint64_t headroom =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) - static_cast<std::uint64_t>(start);
  if (hold_ms > headroom / kNanosecondsPerMillisecond) return MonotonicTime::max();
  const std::uint64_t end = static_cast<std::uint64_t>(start) + hold_ms * kNanosecondsPerMillisecond;
  return MonotonicTime(std::chrono::nanoseconds(static_cast<std::int64_t>(end)));
}

bool update_lamps(std::span<const PhysicalDiskEntry> disks, std::span<const double> read_rates,
                  std::span<const double> write_rates, MonotonicTime now, const Metrics& metrics, LampHolds& holds,
                  std::vector<DiskLamp>& lamps) {
  if (disks.empty()) {
    holds.read.clear();
    holds.write.clear();
    lamps.clear();
    return false;
  }
  const auto rate_at = [](std::span<const double> rates, std::size_t i) { return i < rates.size() ? rates[i] : 0.0; };
  const MonotonicTime deadline = lamp_deadline(now, metrics.disk_lamp_hold_ms);
  const double threshold = metrics.disk_lamp_threshold_bytes_per_sec;
  // A hold that ends by now is dropped in this same tick, so one that would end at once is
  // never stored (no allocation for a lamp that cannot light).
  const auto hold = [&](LampHoldMap& map, const std::string& instance, double rate) {
    if (!(rate >= threshold)) return;  // NaN never lights
    if (deadline > now) {
      map.insert_or_assign(instance, deadline);
    } else {
      map.erase(instance);
    }
  };
  for (std::size_t i = 0; i < disks.size(); ++i) {
    hold(holds.read, disks[i].instance, rate_at(read_rates, i));
    hold(holds.write, disks[i].instance, rate_at(write_rates, i));
  }
  const auto over = [now](const auto& entry) { return entry.second <= now; };
  std::erase_if(holds.read, over);
  std::erase_if(holds.write, over);

  lamps.resize(disks.size());
  for (std::size_t i = 0; i < disks.size(); ++i) {
    DiskLamp& lamp = lamps[i];
    lamp.label = disks[i].label;
    lamp.bytes_per_sec = rate_at(read_rates, i) + rate_at(write_rates, i);
    lamp.read_lit = holds.read.contains(disks[i].instance);
    lamp.write_lit = holds.write.contains(disks[i].instance);
  }
  return lamp_lit(lamps);
}

bool lamp_lit(std::span<const DiskLamp> lamps) noexcept {
  return std::any_of(lamps.begin(), lamps.end(), [](const DiskLamp& lamp) { return lamp.read_lit || lamp.write_lit; });
}

}  // namespace vessa
