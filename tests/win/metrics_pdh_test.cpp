// The sampler over the real pdh.dll. Wine offers only "\Processor(_Total)\% Processor Time"
// (every other English path fails with 0xC0000BB9) and cannot list instances (0xC0000BD3),
// so here the processor load takes its fallback path and every other counter is absent.
// (Wine's PdhGetFormattedCounterArrayW is unimplemented and aborts the process; no array
// counter can be added there, so the sampler never calls it.)

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "metrics/counter_sampler.hpp"
#include "metrics/metrics_win.hpp"
#include "metrics/network_interfaces_win.hpp"
#include "metrics/pdh_counters_win.hpp"

namespace vessa {
namespace {

Config everything_config() {
  Config config;
  config.metrics.items = {MetricKind::Cpu, MetricKind::Memory, MetricKind::Disk, MetricKind::Net, MetricKind::Gpu};
  config.metrics.disk_lamp = true;
  config.metrics.disk_lamp_threshold_bytes_per_sec = 0.0;  // any listed disk would show a lit lamp
  return config;
}

std::uint32_t system_memory_load() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  EXPECT_TRUE(GlobalMemoryStatusEx(&status));
  return status.dwMemoryLoad;
}

TEST(Shell_MetricsPdh, ProcessorLoadIsAddedThroughTheProcessorTimeFallback) {
  CounterSampler sampler = make_counter_sampler();
  sampler.open_counters(everything_config());
  ASSERT_TRUE(sampler.has_query());
  EXPECT_EQ(sampler.slot_path(CounterSlot::CpuLoad), counter_path::kProcessorTime);
  for (const CounterSlot absent : {CounterSlot::CpuPerformance, CounterSlot::DiskBusy, CounterSlot::DiskRead,
                                   CounterSlot::DiskWrite, CounterSlot::NetRx, CounterSlot::NetTx,
                                   CounterSlot::GpuEngine}) {
    EXPECT_FALSE(sampler.slot_present(absent)) << static_cast<int>(absent);
  }
  EXPECT_TRUE(sampler.all_adapters());
  EXPECT_TRUE(sampler.physical_disks().empty());
  // CallNtPowerInformation(ProcessorInformation) reports MaxMhz on Wine.
  ASSERT_TRUE(sampler.nominal_mhz().has_value());
  EXPECT_GT(*sampler.nominal_mhz(), 0.0);
  // Every processor group counts: the power records are one per logical processor of the
  // machine. Counted group by group, as Wine 10 answers 0 for all groups at once.
  DWORD processors = 0;
  for (WORD group = 0; group < GetActiveProcessorGroupCount(); ++group) processors += GetActiveProcessorCount(group);
  EXPECT_EQ(sampler.processor_count(), processors);
}

TEST(Shell_MetricsPdh, TheFallbackCounterReallyReads) {
  PdhCounterSource source;
  Result<std::unique_ptr<CounterQuery>> opened = source.open_query();
  ASSERT_TRUE(opened.ok()) << opened.error().full_text();
  CounterQuery& query = **opened;
  const Result<CounterId> utility = query.add_english_counter(counter_path::kProcessorUtility);
  ASSERT_FALSE(utility.ok());
  EXPECT_EQ(utility.error().message(), "PdhAddEnglishCounterW に失敗しました (0xC0000BB9)");
  const Result<CounterId> time = query.add_english_counter(counter_path::kProcessorTime);
  ASSERT_TRUE(time.ok()) << time.error().full_text();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(query.collect());
    double value = -1.0;
    ASSERT_TRUE(query.read_value(*time, value));
    EXPECT_GE(value, 0.0);
    EXPECT_LE(value, 100.0);
  }
  double value = 0.0;
  EXPECT_FALSE(query.read_value(*time + 1, value));  // no such counter
}

TEST(Shell_MetricsPdh, SamplingWithMissingCountersReadsZeroAndReadsMemory) {
  auto state = std::make_unique<AppState>();
  state->config = everything_config();
  state->sampler = make_counter_sampler();
  state->sampler.open_counters(state->config);
  ASSERT_EQ(state->current_attach_mode, AttachMode::TrayOnly);  // nothing to draw into

  for (int tick = 0; tick < 4; ++tick) {
    const std::uint32_t before = system_memory_load();
    take_sample(*state);
    const std::uint32_t after = system_memory_load();
    ASSERT_TRUE(state->last_sample.has_value());
    const MetricSample& s = *state->last_sample;
    ASSERT_EQ(s.bars.size(), 5u);
    EXPECT_EQ(s.bars[0].kind, MetricKind::Cpu);
    EXPECT_GE(s.bars[0].percent, 0.0);
    EXPECT_LE(s.bars[0].percent, 100.0);
    EXPECT_EQ(s.bars[1].kind, MetricKind::Memory);
    EXPECT_GE(s.bars[1].percent, static_cast<double>(std::min(before, after)));
    EXPECT_LE(s.bars[1].percent, static_cast<double>(std::max(before, after)));
    EXPECT_EQ(s.bars[2], (BarValue{0.0, MetricKind::Disk}));
    EXPECT_EQ(s.bars[3], (BarValue{0.0, MetricKind::Net}));
    EXPECT_EQ(s.bars[4], (BarValue{0.0, MetricKind::Gpu}));
    EXPECT_FALSE(s.cpu_mhz.has_value());  // "% Processor Performance" is missing
    EXPECT_EQ(s.disk_busy_percent, 0.0);
    EXPECT_EQ(s.net_rx_bytes_per_sec, 0.0);
    EXPECT_EQ(s.net_tx_bytes_per_sec, 0.0);
    EXPECT_TRUE(s.disks.empty());
    EXPECT_FALSE(s.lamp_lit);
  }
  EXPECT_TRUE(state->sampler.primed());
}

TEST(Shell_MetricsPdh, MemoryOnlyRunsWithoutAQuery) {
  Config config;
  config.metrics.items = {MetricKind::Memory};
  config.metrics.disk_lamp = false;
  auto state = std::make_unique<AppState>();
  state->config = config;
  state->sampler = make_counter_sampler();
  state->sampler.open_counters(config);
  EXPECT_FALSE(state->sampler.has_query());
  take_sample(*state);
  ASSERT_TRUE(state->last_sample.has_value());
  ASSERT_EQ(state->last_sample->bars.size(), 1u);
  EXPECT_NEAR(state->last_sample->bars[0].percent, static_cast<double>(system_memory_load()), 1.0);
}

TEST(Shell_MetricsPdh, InstanceListingFailsWithTheSizeQueryText) {
  const Result<std::vector<std::string>> instances = enumerate_instances("PhysicalDisk");
  ASSERT_FALSE(instances.ok());
  EXPECT_EQ(instances.error().message(), "PdhEnumObjectItemsW のサイズ問い合わせに失敗しました (0xC0000BD3)");
  EXPECT_TRUE(physical_disk_drive_letters().empty());
}

TEST(Shell_MetricsPdh, RebuildingTheQueryManyTimesKeepsSampling) {
  auto state = std::make_unique<AppState>();
  state->config = everything_config();
  state->sampler = make_counter_sampler();
  state->sampler.open_counters(state->config);
  for (int round = 0; round < 500; ++round) {
    state->sampler.open_counters(state->config);
    take_sample(*state);
    take_sample(*state);
  }
  EXPECT_TRUE(state->sampler.has_query());
  EXPECT_EQ(state->sampler.slot_path(CounterSlot::CpuLoad), counter_path::kProcessorTime);
  EXPECT_EQ(state->last_sample.value().bars.size(), 5u);
}

// The network bar over every adapter reads the interface table through iphlpapi.dll, loaded on
// first use; each row must come with its description.
TEST(Shell_MetricsPdh, TheInterfaceTableReadsWithDescriptions) {
  const Result<std::vector<NetworkInterface>> table = read_network_interfaces();
  if (!table && table.error().cause() != nullptr) {  // only a missing library or export has a cause
    GTEST_SKIP() << "this Wine has no GetIfTable2: " << table.error().full_text();
  }
  ASSERT_TRUE(table.ok()) << table.error().full_text();
  ASSERT_FALSE(table->empty());
  for (const NetworkInterface& row : *table) EXPECT_FALSE(row.description.empty());
}

}  // namespace
}  // namespace vessa
