#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "metrics/counter_sampler.hpp"
#include "sampler_rig.hpp"
#include "scripted_counters.hpp"

namespace vessa {
namespace {

using testing::SamplerRig;
using namespace std::chrono_literals;
namespace path = counter_path;

const std::vector<MetricKind> kAllKinds = {MetricKind::Cpu, MetricKind::Memory, MetricKind::Disk, MetricKind::Net,
                                           MetricKind::Gpu};

// --- Building the query ------------------------------------------------------------------

TEST(SamplerOpen, MemoryOnlyWithoutLampOpensNoQueryButMemoryStillUpdates) {
  SamplerRig rig;
  rig.config.metrics.items = {MetricKind::Memory};
  rig.config.metrics.disk_lamp = false;
  rig.open();
  EXPECT_FALSE(rig.sampler.has_query());
  EXPECT_EQ(rig.counters->queries_opened(), 0);

  rig.memory_load = 41;
  EXPECT_TRUE(rig.tick());
  EXPECT_EQ(rig.bar(MetricKind::Memory), 41.0);
  rig.memory_load = 58;
  EXPECT_TRUE(rig.tick());
  EXPECT_EQ(rig.bar(MetricKind::Memory), 58.0);
  EXPECT_EQ(rig.counters->collections(), 0);
}

TEST(SamplerOpen, MemoryOnlyClosesTheQueryOfAnEarlierConfiguration) {
  SamplerRig rig;
  rig.open();
  EXPECT_EQ(rig.counters->queries_open(), 1);
  rig.config.metrics.items = {MetricKind::Memory};
  rig.config.metrics.disk_lamp = false;
  rig.open();
  EXPECT_FALSE(rig.sampler.has_query());
  EXPECT_EQ(rig.counters->queries_open(), 0);
}

TEST(SamplerOpen, LampAloneNeedsAQuery) {
  SamplerRig rig;
  rig.config.metrics.items = {MetricKind::Memory};
  rig.config.metrics.disk_lamp = true;
  rig.open();
  EXPECT_TRUE(rig.sampler.has_query());
  EXPECT_EQ(rig.counters->add_attempts(),
            (std::vector<std::string>{std::string(path::kDiskReadBytes), std::string(path::kDiskWriteBytes)}));
}

TEST(SamplerOpen, AddsTheCountersInOrderWithTheAllAdaptersPath) {
  SamplerRig rig;
  rig.config.metrics.items = {MetricKind::Gpu, MetricKind::Net, MetricKind::Disk, MetricKind::Cpu};
  rig.config.metrics.disk_lamp = true;
  rig.config.metrics.network_adapter = " \t ";
  rig.open();
  const std::vector<std::string> expected = {
      std::string(path::kProcessorUtility),
      std::string(path::kProcessorPerformance),
      std::string(path::kDiskTime),
      std::string(path::kDiskReadBytes),
      std::string(path::kDiskWriteBytes),
      "\\Network Interface(*)\\Bytes Received/sec",
      "\\Network Interface(*)\\Bytes Sent/sec",
      std::string(path::kGpuEngine),
  };
  EXPECT_EQ(rig.counters->add_attempts(), expected);
  EXPECT_TRUE(rig.sampler.all_adapters());
  for (std::size_t i = 0; i < kCounterSlotCount; ++i) {
    EXPECT_TRUE(rig.sampler.slot_present(static_cast<CounterSlot>(i))) << i;
  }
}

TEST(SamplerOpen, ProcessorLoadFallsBackToProcessorTime) {
  SamplerRig rig;
  rig.counters->offer_every_path = false;
  rig.counters->offer(path::kProcessorTime);
  rig.config.metrics.items = {MetricKind::Cpu};
  rig.config.metrics.disk_lamp = false;
  rig.open();
  EXPECT_EQ(rig.counters->add_attempts(),
            (std::vector<std::string>{std::string(path::kProcessorUtility), std::string(path::kProcessorTime),
                                      std::string(path::kProcessorPerformance)}));
  EXPECT_EQ(rig.sampler.slot_path(CounterSlot::CpuLoad), path::kProcessorTime);
  EXPECT_FALSE(rig.sampler.slot_present(CounterSlot::CpuPerformance));
  EXPECT_EQ(rig.sampler.slot_path(CounterSlot::CpuPerformance), "");

  rig.counters->set_value(path::kProcessorTime, 64.5);
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Cpu), 64.5);
  EXPECT_FALSE(rig.stored.cpu_mhz.has_value());
}

TEST(SamplerOpen, NamedAdapterIsTrimmedAndInsertedAsItIs) {
  SamplerRig rig;
  rig.config.metrics.items = {MetricKind::Net};
  rig.config.metrics.disk_lamp = false;
  rig.config.metrics.network_adapter = "\xE3\x80\x80 Intel[R] Ethernet (2) \n";
  rig.open();
  EXPECT_FALSE(rig.sampler.all_adapters());
  EXPECT_EQ(rig.sampler.slot_path(CounterSlot::NetRx), "\\Network Interface(Intel[R] Ethernet (2))\\Bytes Received/sec");
  EXPECT_EQ(rig.sampler.slot_path(CounterSlot::NetTx), "\\Network Interface(Intel[R] Ethernet (2))\\Bytes Sent/sec");
}

TEST(SamplerOpen, DiskFilterDropsBlankEntriesAndDefaultsToTotal) {
  const struct {
    std::vector<std::string> instances;
    std::vector<std::string> filter;
  } cases[] = {
      {{}, {"_Total"}},
      {{"", "   ", "\t\r\n"}, {"_Total"}},
      {{" c: ", "", "D:"}, {"c:", "D:"}},
      {{"HarddiskVolume3"}, {"HarddiskVolume3"}},
  };
  for (const auto& c : cases) {
    SamplerRig rig;
    rig.config.metrics.disk_instances = c.instances;
    rig.open();
    EXPECT_EQ(rig.sampler.disk_filter(), c.filter);
  }
}

TEST(SamplerOpen, EachRebuildClosesThePreviousQueryAndStartsUnprimed) {
  SamplerRig rig;
  rig.open();
  rig.tick();
  EXPECT_TRUE(rig.sampler.primed());
  rig.open();
  EXPECT_FALSE(rig.sampler.primed());
  EXPECT_EQ(rig.counters->queries_opened(), 2);
  EXPECT_EQ(rig.counters->queries_open(), 1);
}

TEST(SamplerOpen, FailedOpenLeavesNoQueryAndEveryCounterFigureAtZero) {
  SamplerRig rig;
  rig.config.metrics.items = kAllKinds;
  rig.open();
  rig.counters->fail_open = true;
  rig.counters->set_value(path::kProcessorUtility, 50.0);
  rig.open();
  EXPECT_FALSE(rig.sampler.has_query());
  EXPECT_EQ(rig.counters->queries_open(), 0);
  for (std::size_t i = 0; i < kCounterSlotCount; ++i) EXPECT_FALSE(rig.sampler.slot_present(static_cast<CounterSlot>(i)));
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Cpu), 0.0);
  EXPECT_EQ(rig.bar(MetricKind::Memory), 37.0);
}

TEST(SamplerOpen, PhysicalDisksAreListedOnlyWithTheLamp) {
  SamplerRig rig;
  rig.counters->set_instances("PhysicalDisk", {"1 E:", "0 C: D:", "_Total", "x Z:"});
  rig.config.metrics.disk_lamp = true;
  rig.open();
  ASSERT_EQ(rig.sampler.physical_disks().size(), 2u);
  EXPECT_EQ(rig.sampler.physical_disks()[0].label, "C: D:");
  EXPECT_EQ(rig.sampler.physical_disks()[1].label, "E:");

  rig.config.metrics.disk_lamp = false;
  rig.open();
  EXPECT_TRUE(rig.sampler.physical_disks().empty());
}

// Turning the lamp off together with every counter-based bar leaves no query; the disks of the
// earlier configuration must not stay behind as lamps.
TEST(SamplerOpen, DisksGoWhenTheLampIsTurnedOffWithOnlyMemoryLeft) {
  SamplerRig rig;
  rig.counters->set_instances("PhysicalDisk", {"0 C:"});
  rig.config.metrics.disk_lamp_threshold_bytes_per_sec = 0.0;  // every lamp lit
  rig.open();
  rig.tick();
  ASSERT_EQ(rig.stored.disks.size(), 1u);
  rig.config.metrics.items = {MetricKind::Memory};
  rig.config.metrics.disk_lamp = false;
  rig.open();
  rig.tick();
  EXPECT_TRUE(rig.stored.disks.empty());
  EXPECT_FALSE(rig.stored.lamp_lit);
}

TEST(SamplerOpen, EnumerationErrorGivesNoDisks) {
  SamplerRig rig;
  rig.counters->fail_instances("PhysicalDisk", Error("PdhEnumObjectItemsW に失敗しました (0xC0000BD3)"));
  rig.open();
  EXPECT_TRUE(rig.sampler.physical_disks().empty());
  EXPECT_TRUE(rig.sampler.list_physical_disks().empty());
}

// --- Lifetime -------------------------------------------------------------------------------

// A source whose queries note, when they close, whether the source that opened them is still
// there (a query may refer to it, as the scripted one does).
struct Lifetimes {
  bool source_alive = true;
  int closed = 0;
  int closed_after_source = 0;
};

class WatchedQuery final : public CounterQuery {
 public:
  explicit WatchedQuery(std::shared_ptr<Lifetimes> lifetimes) : lifetimes_(std::move(lifetimes)) {}
  ~WatchedQuery() override {
    ++lifetimes_->closed;
    if (!lifetimes_->source_alive) ++lifetimes_->closed_after_source;
  }
  Result<CounterId> add_english_counter(std::string_view) override { return CounterId{0}; }
  bool collect() override { return true; }
  bool read_value(CounterId, double&) override { return false; }
  void read_array(CounterId, CounterArray& out) override { out.clear(); }

 private:
  std::shared_ptr<Lifetimes> lifetimes_;
};

class WatchedSource final : public CounterSource {
 public:
  explicit WatchedSource(std::shared_ptr<Lifetimes> lifetimes) : lifetimes_(std::move(lifetimes)) {}
  ~WatchedSource() override { lifetimes_->source_alive = false; }
  Result<std::unique_ptr<CounterQuery>> open_query() override {
    return std::unique_ptr<CounterQuery>(std::make_unique<WatchedQuery>(lifetimes_));
  }
  Result<std::vector<std::string>> enumerate_instances(std::string_view) override {
    return std::vector<std::string>{};
  }

 private:
  std::shared_ptr<Lifetimes> lifetimes_;
};

TEST(SamplerLifetime, TheQueryClosesBeforeItsSourceWhenTheSamplerIsReplacedOrGoes) {
  const Config config;  // the default items need a query
  const auto replaced = std::make_shared<Lifetimes>();
  const auto last = std::make_shared<Lifetimes>();
  {
    CounterSampler sampler(std::make_unique<WatchedSource>(replaced));
    sampler.open_counters(config);
    ASSERT_TRUE(sampler.has_query());
    sampler = CounterSampler(std::make_unique<WatchedSource>(last));
    EXPECT_EQ(replaced->closed, 1);
    EXPECT_EQ(replaced->closed_after_source, 0);
    sampler.open_counters(config);
    ASSERT_TRUE(sampler.has_query());
  }
  EXPECT_EQ(last->closed, 1);
  EXPECT_EQ(last->closed_after_source, 0);
}

// --- One tick ------------------------------------------------------------------------------

class SamplerTick : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.config.metrics.items = kAllKinds;
    rig.config.metrics.network_scale_mbps = 8.0;  // 1,000,000 bytes per second
    rig.counters->set_instances("PhysicalDisk", {"0 C: D:", "1 E:"});
    rig.counters->set_value(path::kProcessorUtility, 12.0);
    rig.counters->set_value(path::kProcessorPerformance, 120.0);
    rig.counters->set_array(path::kDiskTime, {{"C:", 10.0}, {"_Total", 20.0}});
    rig.counters->set_array("\\Network Interface(*)\\Bytes Received/sec", {{"eth0", 300'000.0}, {"eth1", 100'000.0}});
    rig.counters->set_array("\\Network Interface(*)\\Bytes Sent/sec", {{"eth0", 50'000.0}});
    rig.counters->set_array(path::kGpuEngine, {{"pid_4_luid_0x0_phys_0_eng_0_engtype_3D", 15.0}});
    rig.counters->set_array(path::kDiskReadBytes, {{"0 C: D:", 1000.0}, {"1 E:", 2000.0}});
    rig.counters->set_array(path::kDiskWriteBytes, {{"1 E:", 500.0}});
  }
  SamplerRig rig{3000.0};
};

TEST_F(SamplerTick, FirstTickAfterOpenReadsZeroExceptMemory) {
  rig.open();
  rig.memory_load = 63;
  EXPECT_TRUE(rig.tick());
  const MetricSample& s = rig.stored;
  ASSERT_EQ(s.bars.size(), 5u);
  EXPECT_EQ(rig.bar(MetricKind::Cpu), 0.0);
  EXPECT_EQ(rig.bar(MetricKind::Memory), 63.0);
  EXPECT_EQ(rig.bar(MetricKind::Disk), 0.0);
  EXPECT_EQ(rig.bar(MetricKind::Net), 0.0);
  EXPECT_EQ(rig.bar(MetricKind::Gpu), 0.0);
  EXPECT_FALSE(s.cpu_mhz.has_value());
  EXPECT_EQ(s.disk_busy_percent, 0.0);
  EXPECT_EQ(s.net_rx_bytes_per_sec, 0.0);
  EXPECT_EQ(s.net_tx_bytes_per_sec, 0.0);
  ASSERT_EQ(s.disks.size(), 2u);
  EXPECT_EQ(s.disks[0].bytes_per_sec, 0.0);
  EXPECT_EQ(s.disks[1].bytes_per_sec, 0.0);

  // The second tick reads everything.
  EXPECT_TRUE(rig.tick());
  EXPECT_EQ(rig.bar(MetricKind::Cpu), 12.0);
  EXPECT_EQ(rig.bar(MetricKind::Disk), 20.0);
  EXPECT_EQ(rig.bar(MetricKind::Net), 40.0);  // received 400,000 of 1,000,000
  EXPECT_EQ(rig.bar(MetricKind::Gpu), 15.0);
}

TEST_F(SamplerTick, BarsFollowTheItemsInOrderRepeatsIncluded) {
  rig.config.metrics.items = {MetricKind::Gpu, MetricKind::Cpu, MetricKind::Gpu};
  rig.open();
  rig.tick();
  rig.tick();
  const std::vector<BarValue> expected = {{15.0, MetricKind::Gpu}, {12.0, MetricKind::Cpu}, {15.0, MetricKind::Gpu}};
  EXPECT_EQ(rig.stored.bars, expected);
}

TEST_F(SamplerTick, FrequencyIsNominalTimesPerformance) {
  rig.open();
  rig.tick();
  rig.tick();
  ASSERT_TRUE(rig.stored.cpu_mhz.has_value());
  EXPECT_EQ(*rig.stored.cpu_mhz, 3600.0);

  rig.counters->fail_reads(path::kProcessorPerformance);
  rig.tick();
  EXPECT_FALSE(rig.stored.cpu_mhz.has_value());
}

TEST_F(SamplerTick, UnknownNominalFrequencyGivesNoFrequency) {
  SamplerRig plain;
  plain.counters->set_value(path::kProcessorPerformance, 120.0);
  plain.open();
  plain.tick();
  plain.tick();
  EXPECT_FALSE(plain.stored.cpu_mhz.has_value());
}

TEST_F(SamplerTick, DiskBusyIsTheLargestFilteredVolumeNotTheSum) {
  rig.config.metrics.disk_instances = {"c:", "D:"};
  rig.counters->set_array(path::kDiskTime, {{"C:", 30.0}, {"D:", 70.0}, {"E:", 90.0}, {"_Total", 63.3}});
  rig.open();
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.stored.disk_busy_percent, 70.0);
  EXPECT_EQ(rig.bar(MetricKind::Disk), 70.0);
}

TEST_F(SamplerTick, DiskBusyWithoutAMatchingVolumeIsZero) {
  rig.config.metrics.disk_instances = {"Q:"};
  rig.open();
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.stored.disk_busy_percent, 0.0);
}

TEST_F(SamplerTick, DiskBusyFieldStaysLinearWhileTheBarIsLogarithmic) {
  rig.config.metrics.disk_logarithmic = true;
  rig.config.metrics.disk_log_strength = 9.0;
  rig.counters->set_array(path::kDiskTime, {{"_Total", 10.0}});
  rig.open();
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.stored.disk_busy_percent, 10.0);
  EXPECT_NEAR(rig.bar(MetricKind::Disk), 27.875, 0.001);
}

TEST_F(SamplerTick, GraphicsIsTheBusiestEngineTypeSummedOverAllItems) {
  rig.counters->set_array(path::kGpuEngine, {
                                                {"pid_1_luid_0x0_0x1_phys_0_eng_0_engtype_3D", 20.0},
                                                {"pid_2_luid_0x0_0x1_phys_0_eng_0_engtype_3D", 25.0},
                                                {"pid_2_luid_0x0_0x1_phys_0_eng_1_engtype_Copy", 30.0},
                                            });
  rig.open();
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Gpu), 45.0);

  // A name without "engtype_" is a type of its own; an empty array reads 0.
  rig.counters->set_array(path::kGpuEngine, {{"engine a", 40.0}, {"x_engtype_A", 30.0}, {"engine a", 20.0}});
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Gpu), 60.0);
  rig.counters->set_array(path::kGpuEngine, {});
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Gpu), 0.0);
}

TEST_F(SamplerTick, NetworkSumsEveryAdapterAndKeepsTheRawRates) {
  rig.open();
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.stored.net_rx_bytes_per_sec, 400'000.0);
  EXPECT_EQ(rig.stored.net_tx_bytes_per_sec, 50'000.0);
  EXPECT_EQ(rig.stored.net_rx_percent, 40.0);
  EXPECT_EQ(rig.stored.net_tx_percent, 5.0);
}

TEST_F(SamplerTick, NamedAdapterReadsItsSingleValueAndAMissingOneReadsZero) {
  rig.config.metrics.network_adapter = "eth0";
  rig.counters->set_value("\\Network Interface(eth0)\\Bytes Received/sec", 250'000.0);
  rig.counters->set_value("\\Network Interface(eth0)\\Bytes Sent/sec", 750'000.0);
  rig.open();
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Net), 75.0);
  EXPECT_EQ(rig.stored.net_rx_percent, 25.0);

  rig.counters->offer_every_path = false;
  rig.config.metrics.network_adapter = "wlan9";
  rig.open();
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Net), 0.0);
  EXPECT_EQ(rig.stored.net_rx_bytes_per_sec, 0.0);
}

TEST_F(SamplerTick, DiskRatesAreMatchedByInstanceIgnoringCaseFirstMatchWins) {
  rig.counters->set_instances("PhysicalDisk", {"0 c: d:", "1 E:", "2"});
  rig.counters->set_array(path::kDiskReadBytes, {{"1 e:", 2000.0}, {"0 C: D:", 1000.0}, {"0 c: d:", 9.0}, {"2", 0.0}});
  rig.counters->set_array(path::kDiskWriteBytes, {{"1 E:", 500.0}, {"_Total", 3500.0}});
  rig.open();
  rig.tick();
  rig.tick();
  ASSERT_EQ(rig.stored.disks.size(), 3u);
  EXPECT_EQ(rig.stored.disks[0].label, "C: D:");
  EXPECT_EQ(rig.stored.disks[0].bytes_per_sec, 1000.0);
  EXPECT_EQ(rig.stored.disks[1].label, "E:");
  EXPECT_EQ(rig.stored.disks[1].bytes_per_sec, 2500.0);
  EXPECT_EQ(rig.stored.disks[2].label, "Disk 2");
  EXPECT_EQ(rig.stored.disks[2].bytes_per_sec, 0.0);
}

TEST_F(SamplerTick, FailedCollectionReadsZeroAndKeepsThePriming) {
  rig.open();
  rig.counters->fail_collect = true;
  rig.tick();
  EXPECT_FALSE(rig.sampler.primed());
  rig.counters->fail_collect = false;
  rig.tick();  // primes
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Cpu), 12.0);
  rig.counters->fail_collect = true;
  rig.tick();
  EXPECT_TRUE(rig.sampler.primed());
  EXPECT_EQ(rig.bar(MetricKind::Cpu), 0.0);
  EXPECT_FALSE(rig.stored.cpu_mhz.has_value());
  EXPECT_EQ(rig.bar(MetricKind::Memory), 37.0);
  rig.counters->fail_collect = false;
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Cpu), 12.0);
}

TEST_F(SamplerTick, FailedReadsCountAsZero) {
  rig.open();
  for (const std::string_view failing : {path::kProcessorUtility, path::kDiskTime, path::kGpuEngine}) {
    rig.counters->fail_reads(failing);
  }
  rig.tick();
  rig.tick();
  EXPECT_EQ(rig.bar(MetricKind::Cpu), 0.0);
  EXPECT_EQ(rig.bar(MetricKind::Disk), 0.0);
  EXPECT_EQ(rig.bar(MetricKind::Gpu), 0.0);
  EXPECT_EQ(rig.bar(MetricKind::Net), 40.0);
}

// Only network cards count with every adapter: bytes through a tunnel or a virtual switch
// pass a card as well. Without a table, or when no card matches, every adapter counts.
TEST(SamplerNetwork, EveryAdapterCountsTheNetworkCardsOnly) {
  const NetworkInterface ethernet{"Ethernet", true};
  const NetworkInterface wsl{"vEthernet (WSL)", false};
  const std::vector<CounterItem> both = {{"Ethernet", 1'000'000.0}, {"vEthernet [WSL]", 1'000'000.0}};
  const struct {
    const char* what;
    std::optional<std::vector<NetworkInterface>> table;
    std::vector<CounterItem> items;
    double expected;
  } cases[] = {
      {"card and virtual switch", std::vector{ethernet, wsl}, both, 1'000'000.0},
      {"no card matches", std::vector{wsl, NetworkInterface{"Realtek PCIe GbE", true}}, both, 2'000'000.0},
      {"no table", std::nullopt, both, 2'000'000.0},
      {"the counters' substitutions", std::vector{NetworkInterface{"Intel(R) Wi-Fi #2 a/b", true}},
       {{"intel[r] wi-fi _2 a_b", 5.0}, {"Intel(R) Wi-Fi #2 a/b", 7.0}}, 5.0},
  };
  for (const auto& c : cases) {
    SamplerRig rig;
    rig.config.metrics.items = {MetricKind::Net};
    if (c.table) rig.counters->set_interfaces(*c.table);
    rig.counters->set_array("\\Network Interface(*)\\Bytes Received/sec", c.items);
    rig.open();
    rig.tick();
    rig.tick();
    EXPECT_EQ(rig.stored.net_rx_bytes_per_sec, c.expected) << c.what;
  }
}

TEST(SamplerNetwork, TheCardsAreLookedUpAgainOnlyWhenAdaptersComeOrGo) {
  SamplerRig rig;
  rig.config.metrics.items = {MetricKind::Net};
  const std::string received = "\\Network Interface(*)\\Bytes Received/sec";
  rig.counters->set_interfaces({{"Ethernet", true}});
  rig.counters->set_array(received, {{"Ethernet", 10.0}});
  rig.open();
  rig.tick();
  rig.tick();
  const int reads = rig.counters->interface_reads();
  rig.tick();
  EXPECT_EQ(rig.counters->interface_reads(), reads);
  rig.counters->set_interfaces({{"Ethernet", true}, {"Wi-Fi", true}, {"vEthernet (WSL)", false}});
  rig.counters->set_array(received, {{"Ethernet", 10.0}, {"Wi-Fi", 20.0}, {"vEthernet [WSL]", 40.0}});
  rig.tick();
  EXPECT_EQ(rig.stored.net_rx_bytes_per_sec, 30.0);
}

// --- Disks following the counters' instances -------------------------------------------------

// A Windows whose counter names are localised cannot list the instances by the English
// object name; the wildcard counters still report them, and follow USB disks as they come
// and go.
TEST(SamplerDisks, LampsFollowTheDisksTheCountersReport) {
  SamplerRig rig;
  rig.counters->fail_instances("PhysicalDisk", Error("PdhEnumObjectItemsW のサイズ問い合わせに失敗しました (0xC0000BB8)"));
  rig.open();
  rig.tick();
  const struct {
    std::vector<CounterItem> reads;
    std::vector<std::string> labels;
  } ticks[] = {
      {{{"0 C:", 0.0}, {"1 D:", 0.0}, {"_Total", 0.0}}, {"C:", "D:"}},
      {{{"0 C:", 0.0}, {"1 D:", 0.0}, {"2 F:", 0.0}, {"_Total", 0.0}}, {"C:", "D:", "F:"}},  // plugged in
      {{{"2 F:", 0.0}, {"0 C:", 0.0}, {"1 D:", 0.0}}, {"C:", "D:", "F:"}},
      {{{"0 C:", 0.0}, {"2 F:", 0.0}}, {"C:", "F:"}},  // pulled out
  };
  for (const auto& t : ticks) {
    rig.counters->set_array(path::kDiskReadBytes, t.reads);
    rig.tick();
    std::vector<std::string> labels;
    for (const DiskLamp& lamp : rig.stored.disks) labels.push_back(lamp.label);
    EXPECT_EQ(labels, t.labels);
  }
}

// --- The change check ----------------------------------------------------------------------

TEST_F(SamplerTick, UnchangedFiguresLeaveTheStoredSampleAlone) {
  rig.open();
  EXPECT_TRUE(rig.tick());
  EXPECT_TRUE(rig.tick());
  const MetricSample before = rig.stored;
  EXPECT_FALSE(rig.tick());
  EXPECT_EQ(rig.stored, before);

  rig.memory_load = 38;
  EXPECT_TRUE(rig.tick());
  EXPECT_EQ(rig.bar(MetricKind::Memory), 38.0);
  EXPECT_FALSE(rig.tick());
}

TEST_F(SamplerTick, WithoutAStoredSampleEvenEqualFiguresAreStored) {
  rig.open();
  rig.tick();
  rig.tick();
  rig.has_sample = false;
  EXPECT_TRUE(rig.tick());
}

TEST_F(SamplerTick, ANaNFigureNeverEqualsSoEveryTickCounts) {
  rig.counters->set_value(path::kProcessorPerformance, std::numeric_limits<double>::quiet_NaN());
  rig.open();
  rig.tick();
  EXPECT_TRUE(rig.tick());
  ASSERT_TRUE(rig.stored.cpu_mhz.has_value());
  EXPECT_TRUE(std::isnan(*rig.stored.cpu_mhz));
  EXPECT_TRUE(rig.tick());
  EXPECT_TRUE(rig.tick());
}

TEST_F(SamplerTick, EveryFieldTakesPartInTheChangeCheck) {
  rig.open();
  rig.tick();
  rig.tick();
  ASSERT_FALSE(rig.tick());
  const struct {
    const char* what;
    std::string path;
    std::vector<CounterItem> array;
  } changes[] = {
      {"disk busy", std::string(path::kDiskTime), {{"_Total", 21.0}}},
      {"received", "\\Network Interface(*)\\Bytes Received/sec", {{"eth0", 1.0}}},
      {"sent", "\\Network Interface(*)\\Bytes Sent/sec", {{"eth0", 2.0}}},
      {"disk rate", std::string(path::kDiskReadBytes), {{"0 C: D:", 1001.0}, {"1 E:", 2000.0}}},
      {"graphics", std::string(path::kGpuEngine), {{"engtype_3D", 16.0}}},
  };
  for (const auto& change : changes) {
    rig.counters->set_array(change.path, change.array);
    EXPECT_TRUE(rig.tick()) << change.what;
    EXPECT_FALSE(rig.tick()) << change.what;
  }
  rig.counters->set_value(path::kProcessorPerformance, 121.0);
  EXPECT_TRUE(rig.tick());
  rig.counters->set_value(path::kProcessorUtility, 13.0);
  EXPECT_TRUE(rig.tick());
}

// --- Lamps through the sampler ---------------------------------------------------------------

TEST_F(SamplerTick, AReadBurstWithAShortHoldLightsExactlyOneSample) {
  rig.config.metrics.disk_lamp_threshold_bytes_per_sec = 100'000.0;
  rig.config.metrics.disk_lamp_hold_ms = 250;
  rig.counters->set_array(path::kDiskReadBytes, {});
  rig.counters->set_array(path::kDiskWriteBytes, {});
  rig.open();
  rig.tick();
  rig.tick();
  int lit_samples = 0;
  for (int tick = 0; tick < 6; ++tick) {
    rig.counters->set_array(path::kDiskReadBytes, {{"0 C: D:", tick == 1 ? 5'000'000.0 : 0.0}, {"1 E:", 0.0}});
    rig.tick(1000ms);
    ASSERT_EQ(rig.stored.disks.size(), 2u);
    if (rig.stored.disks[0].read_lit) ++lit_samples;
    EXPECT_FALSE(rig.stored.disks[0].write_lit);
    EXPECT_FALSE(rig.stored.disks[1].read_lit);
    EXPECT_EQ(rig.stored.lamp_lit, rig.stored.disks[0].read_lit);
  }
  EXPECT_EQ(lit_samples, 1);
}

TEST_F(SamplerTick, ThresholdAtOrBelowZeroLightsEveryLampEvenWithoutReadings) {
  rig.config.metrics.disk_lamp_threshold_bytes_per_sec = -1.0;
  rig.open();
  rig.tick();  // priming tick: no readings, rates count as 0
  ASSERT_EQ(rig.stored.disks.size(), 2u);
  for (const DiskLamp& lamp : rig.stored.disks) {
    EXPECT_TRUE(lamp.read_lit);
    EXPECT_TRUE(lamp.write_lit);
  }
  EXPECT_TRUE(rig.stored.lamp_lit);
}

TEST_F(SamplerTick, HoldsSurviveARebuildOfTheCounters) {
  rig.config.metrics.disk_lamp_threshold_bytes_per_sec = 1500.0;
  rig.config.metrics.disk_lamp_hold_ms = 5000;
  rig.open();
  rig.tick();
  rig.tick();  // disk 1 reads 2000: lit for 5 s
  ASSERT_TRUE(rig.stored.disks[1].read_lit);
  rig.counters->set_array(path::kDiskReadBytes, {{"0 C: D:", 0.0}, {"1 E:", 0.0}});
  rig.open();
  rig.tick(1000ms);  // priming tick of the new query
  EXPECT_TRUE(rig.stored.disks[1].read_lit);
  rig.tick(4000ms);
  EXPECT_FALSE(rig.stored.disks[1].read_lit);
}

}  // namespace
}  // namespace vessa
