#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

#include "metrics/physical_disks.hpp"
#include "metrics/scaling.hpp"

namespace vessa {
namespace {

using namespace std::chrono_literals;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();

Metrics network(double scale_mbps, bool logarithmic, double floor = 1024.0) {
  Metrics m;
  m.network_scale_mbps = scale_mbps;
  m.network_logarithmic = logarithmic;
  m.network_floor_bytes_per_sec = floor;
  return m;
}

Metrics disk(bool logarithmic, double strength) {
  Metrics m;
  m.disk_logarithmic = logarithmic;
  m.disk_log_strength = strength;
  return m;
}

TEST(ScaleNetwork, LinearAndLogarithmicScales) {
  const struct {
    const char* what;
    Metrics metrics;
    double rate;
    double percent;
  } cases[] = {
      {"linear half", network(100, false), 6'250'000, 50.0},
      {"linear above the scale", network(100, false), 20'000'000, 100.0},
      {"linear zero", network(100, false), 0, 0.0},
      {"negative rate", network(100, false), -5'000, 0.0},
      {"scale 0", network(0, false), 6'250'000, 0.0},
      {"negative scale", network(-100, true), 6'250'000, 0.0},
      {"NaN scale", network(kNaN, false), 6'250'000, 0.0},
      {"NaN rate", network(100, false), kNaN, 0.0},
      {"infinite rate", network(100, false), kInf, 0.0},
      {"log at the floor", network(100, true, 1000), 1000, 0.0},
      {"log below the floor", network(100, true, 1000), 10, 0.0},
      {"log at full scale", network(100, true, 1000), 12'500'000, 100.0},
      {"log above full scale", network(100, true, 1000), 1e12, 100.0},
      {"floor 0 acts as 1", network(100, true, 0), 1.0, 0.0},
      {"floor NaN acts as 1", network(100, true, kNaN), 1.0, 0.0},
      {"floor above the scale is linear", network(100, true, 20'000'000), 6'250'000, 50.0},
      {"floor at the scale is linear", network(100, true, 12'500'000), 6'250'000, 50.0},
      {"infinite scale", network(kInf, false), 1e300, 0.0},
      {"infinite scale, log", network(kInf, true), 1e300, 0.0},
      {"huge rate, linear", network(100, false), kMax, 100.0},
  };
  for (const auto& c : cases) EXPECT_EQ(scale_network(c.rate, c.metrics), c.percent) << c.what;
}

TEST(ScaleNetwork, LogarithmicScaleGivesEqualStepsForEqualRatios) {
  const Metrics m = network(100, true, 1000);
  EXPECT_NEAR(scale_network(111'803.4, m), 50.0, 1e-4);  // the geometric mean of floor and scale
  // Floor 0 behaves as 1: the geometric mean of 1 and 12,500,000.
  EXPECT_NEAR(scale_network(std::sqrt(12'500'000.0), network(100, true, 0)), 50.0, 1e-9);
}

TEST(ScaleDisk, LinearLogarithmicAndDegenerateStrengths) {
  const struct {
    const char* what;
    Metrics metrics;
    double busy;
    double percent;
  } cases[] = {
      {"linear", disk(false, 9), 10, 10.0},
      {"linear clamps", disk(false, 9), 135, 100.0},
      {"strength 0 is linear", disk(true, 0), 10, 10.0},
      {"strength at epsilon is linear", disk(true, std::numeric_limits<double>::epsilon()), 10, 10.0},
      {"negative strength is linear", disk(true, -3), 10, 10.0},
      {"NaN strength is linear", disk(true, kNaN), 10, 10.0},
      {"NaN busy", disk(true, 9), kNaN, 0.0},
      {"infinite busy", disk(true, 9), kInf, 0.0},
      {"negative busy", disk(true, 9), -5, 0.0},
      {"log ends at 0", disk(true, 9), 0, 0.0},
      {"log ends at 100", disk(true, 9), 100, 100.0},
      {"infinite strength, idle", disk(true, kInf), 0, 0.0},
      {"infinite strength, busy", disk(true, kInf), 0.5, 100.0},
  };
  for (const auto& c : cases) EXPECT_EQ(scale_disk(c.busy, c.metrics), c.percent) << c.what;
  EXPECT_NEAR(scale_disk(10, disk(true, 9)), 27.875, 0.001);
  // The largest strengths stay finite and keep the curve's shape.
  const double huge = scale_disk(50, disk(true, kMax));
  EXPECT_GT(huge, 99.0);
  EXPECT_LT(huge, 100.0);
}

TEST(BarPercent, EachKindClampsOrScalesItsFigure) {
  Metrics m = network(8, false);  // 1,000,000 bytes per second
  m.disk_logarithmic = false;
  RawFigures f;
  f.cpu_load = 135;
  f.memory_load = 44;
  f.disk_busy = 250;
  f.net_rx = 200'000;
  f.net_tx = 700'000;
  f.gpu_load = kNaN;
  EXPECT_EQ(bar_percent(MetricKind::Cpu, f, m), 100.0);
  EXPECT_EQ(bar_percent(MetricKind::Memory, f, m), 44.0);
  EXPECT_EQ(bar_percent(MetricKind::Disk, f, m), 100.0);
  EXPECT_EQ(bar_percent(MetricKind::Net, f, m), 70.0);
  EXPECT_EQ(bar_percent(MetricKind::Gpu, f, m), 0.0);
  f.cpu_load = -3;
  EXPECT_EQ(bar_percent(MetricKind::Cpu, f, m), 0.0);
}

TEST(BarPercent, NetworkTakesTheOtherRateWhenOneIsNaN) {
  const Metrics m = network(8, false);
  RawFigures f;
  f.net_rx = kNaN;
  f.net_tx = 300'000;
  EXPECT_EQ(bar_percent(MetricKind::Net, f, m), 30.0);
  f.net_rx = 600'000;
  f.net_tx = kNaN;
  EXPECT_EQ(bar_percent(MetricKind::Net, f, m), 60.0);
  f.net_tx = kNaN;
  f.net_rx = kNaN;
  EXPECT_EQ(bar_percent(MetricKind::Net, f, m), 0.0);
}

TEST(DiskBusyPercent, IsAlwaysLinearAndClamped) {
  EXPECT_EQ(disk_busy_percent(10), 10.0);
  EXPECT_EQ(disk_busy_percent(170), 100.0);
  EXPECT_EQ(disk_busy_percent(-1), 0.0);
  EXPECT_EQ(disk_busy_percent(kNaN), 0.0);
}

// --- Lamps -----------------------------------------------------------------------------------

MonotonicTime at(std::chrono::milliseconds t) { return MonotonicTime(t); }

class Lamps : public ::testing::Test {
 protected:
  Lamps() {
    disks = physical_disks_from_instances(std::vector<std::string>{"0 C:", "1 D:"});
    metrics.disk_lamp_threshold_bytes_per_sec = 1000.0;
    metrics.disk_lamp_hold_ms = 1500;
  }
  bool tick(std::chrono::milliseconds t, std::vector<double> reads, std::vector<double> writes) {
    return update_lamps(disks, reads, writes, at(t), metrics, holds, lamps);
  }
  std::vector<PhysicalDiskEntry> disks;
  Metrics metrics;
  LampHolds holds;
  std::vector<DiskLamp> lamps;
};

TEST_F(Lamps, AReadingAtTheThresholdLightsAndHolds) {
  EXPECT_TRUE(tick(1000ms, {1000.0, 999.0}, {0.0, 0.0}));
  ASSERT_EQ(lamps.size(), 2u);
  EXPECT_EQ(lamps[0], (DiskLamp{"C:", 1000.0, true, false}));
  EXPECT_EQ(lamps[1], (DiskLamp{"D:", 999.0, false, false}));
  EXPECT_TRUE(tick(2000ms, {0.0, 0.0}, {0.0, 0.0}));   // held until 2500
  EXPECT_TRUE(lamps[0].read_lit);
  EXPECT_FALSE(tick(2500ms, {0.0, 0.0}, {0.0, 0.0}));  // a hold ends at its deadline
  EXPECT_FALSE(lamps[0].read_lit);
  EXPECT_TRUE(holds.read.empty());
}

TEST_F(Lamps, ReadAndWriteAreHeldIndependently) {
  tick(1000ms, {5000.0, 0.0}, {0.0, 5000.0});
  EXPECT_EQ(lamps[0], (DiskLamp{"C:", 5000.0, true, false}));
  EXPECT_EQ(lamps[1], (DiskLamp{"D:", 5000.0, false, true}));
  tick(2000ms, {0.0, 0.0}, {5000.0, 0.0});
  EXPECT_EQ(lamps[0], (DiskLamp{"C:", 5000.0, true, true}));
  tick(3000ms, {0.0, 0.0}, {0.0, 0.0});
  EXPECT_EQ(lamps[0], (DiskLamp{"C:", 0.0, false, true}));
  EXPECT_EQ(lamps[1], (DiskLamp{"D:", 0.0, false, false}));
}

TEST_F(Lamps, ThresholdAtOrBelowZeroLightsEveryLamp) {
  for (const double threshold : {0.0, -1.0, -kInf}) {
    metrics.disk_lamp_threshold_bytes_per_sec = threshold;
    EXPECT_TRUE(tick(1000ms, {0.0, 0.0}, {0.0, 0.0})) << threshold;
    for (const DiskLamp& lamp : lamps) EXPECT_TRUE(lamp.read_lit && lamp.write_lit) << threshold;
  }
}

TEST_F(Lamps, NaNRatesAndANaNThresholdNeverLight) {
  EXPECT_FALSE(tick(1000ms, {kNaN, kNaN}, {kNaN, kNaN}));
  metrics.disk_lamp_threshold_bytes_per_sec = kNaN;
  EXPECT_FALSE(tick(2000ms, {1e12, 1e12}, {1e12, 1e12}));
}

TEST_F(Lamps, HoldZeroNeverLights) {
  metrics.disk_lamp_hold_ms = 0;
  EXPECT_FALSE(tick(1000ms, {1e9, 1e9}, {1e9, 1e9}));
  EXPECT_TRUE(holds.read.empty());
  EXPECT_TRUE(holds.write.empty());
}

TEST_F(Lamps, HoldShortenedToZeroEndsAnEarlierLongHold) {
  tick(1000ms, {5000.0, 0.0}, {0.0, 0.0});
  metrics.disk_lamp_hold_ms = 0;
  EXPECT_FALSE(tick(1100ms, {5000.0, 0.0}, {0.0, 0.0}));
}

TEST_F(Lamps, AHugeHoldSaturatesInsteadOfOverflowing) {
  metrics.disk_lamp_hold_ms = std::numeric_limits<std::uint64_t>::max();
  tick(1000ms, {5000.0, 0.0}, {0.0, 0.0});
  ASSERT_EQ(holds.read.count("0 C:"), 1u);
  EXPECT_EQ(holds.read.at("0 C:"), MonotonicTime::max());
  EXPECT_TRUE(tick(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::hours(24 * 365 * 100)),
                   {0.0, 0.0}, {0.0, 0.0}));
}

TEST(LampDeadline, AddsTheHoldAndSaturatesAtBothEnds) {
  EXPECT_EQ(lamp_deadline(at(1000ms), 250), at(1250ms));
  EXPECT_EQ(lamp_deadline(at(1000ms), 0), at(1000ms));
  const MonotonicTime late = MonotonicTime::max() - 1ms;
  EXPECT_EQ(lamp_deadline(late, 1), MonotonicTime::max());
  EXPECT_EQ(lamp_deadline(late, 2), MonotonicTime::max());
  EXPECT_EQ(lamp_deadline(MonotonicTime::min(), 5), MonotonicTime::min() + 5ms);
  EXPECT_EQ(lamp_deadline(MonotonicTime::min(), std::numeric_limits<std::uint64_t>::max()), MonotonicTime::max());
  EXPECT_EQ(lamp_deadline(at(-3000ms), 1000), at(-2000ms));
}

TEST_F(Lamps, HoldsOfDisksNoLongerListedSimplyExpire) {
  tick(1000ms, {5000.0, 5000.0}, {0.0, 0.0});
  disks.pop_back();  // disk 1 is gone after a rebuild
  tick(2000ms, {0.0}, {0.0});
  EXPECT_EQ(holds.read.count("1 D:"), 1u);
  tick(2500ms, {0.0}, {0.0});
  EXPECT_EQ(holds.read.count("1 D:"), 0u);
}

TEST_F(Lamps, NoDisksEmptiesTheHolds) {
  tick(1000ms, {5000.0, 5000.0}, {5000.0, 0.0});
  disks.clear();
  EXPECT_FALSE(tick(1001ms, {}, {}));
  EXPECT_TRUE(lamps.empty());
  EXPECT_TRUE(holds.read.empty());
  EXPECT_TRUE(holds.write.empty());
}

TEST(LampLit, AnyReadOrWriteLamp) {
  EXPECT_FALSE(lamp_lit(std::vector<DiskLamp>{}));
  EXPECT_FALSE(lamp_lit(std::vector<DiskLamp>{{"C:", 0, false, false}, {"D:", 0, false, false}}));
  EXPECT_TRUE(lamp_lit(std::vector<DiskLamp>{{"C:", 0, false, false}, {"D:", 0, false, true}}));
  EXPECT_TRUE(lamp_lit(std::vector<DiskLamp>{{"C:", 0, true, false}}));
}

}  // namespace
}  // namespace vessa
