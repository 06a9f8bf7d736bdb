#pragma once
// CounterSampler: the performance-counter query the configured bars need and the per-tick
// readings taken from it. It owns its counter source and the open query (closed when it is
// replaced or the sampler goes), the disk list, the hardware network interfaces, the lamp
// hold maps and the scratch storage a tick reads into, so that a tick whose figures did not
// change allocates nothing. The disk list follows the instances the wildcard counters report
// (the same names on Windows of any language); the hardware interfaces are looked up again
// when the adapters' instances change.
// Main thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config.hpp"
#include "metrics/counter_source.hpp"
#include "metrics/instance_names.hpp"
#include "metrics/physical_disks.hpp"
#include "metrics/sample.hpp"
#include "metrics/scaling.hpp"

namespace vessa {

// The counters a query may hold, each added only when the configuration needs it.
enum class CounterSlot : std::uint8_t {
  CpuLoad,
  CpuPerformance,
  DiskBusy,
  DiskRead,
  DiskWrite,
  NetRx,
  NetTx,
  GpuEngine,
};
inline constexpr std::size_t kCounterSlotCount = 8;

// The counter paths (language-neutral names).
namespace counter_path {
inline constexpr std::string_view kProcessorUtility = "\\Processor Information(_Total)\\% Processor Utility";
inline constexpr std::string_view kProcessorTime = "\\Processor(_Total)\\% Processor Time";
inline constexpr std::string_view kProcessorPerformance = "\\Processor Information(_Total)\\% Processor Performance";
inline constexpr std::string_view kDiskTime = "\\LogicalDisk(*)\\% Disk Time";
inline constexpr std::string_view kDiskReadBytes = "\\PhysicalDisk(*)\\Disk Read Bytes/sec";
inline constexpr std::string_view kDiskWriteBytes = "\\PhysicalDisk(*)\\Disk Write Bytes/sec";
inline constexpr std::string_view kGpuEngine = "\\GPU Engine(*)\\Utilization Percentage";
// "\Network Interface(<adapter>)\Bytes Received/sec", the adapter inserted as it is.
[[nodiscard]] std::string network_received(std::string_view adapter);
[[nodiscard]] std::string network_sent(std::string_view adapter);
}  // namespace counter_path

// The readings a tick takes besides the counters.
struct TickReadings {
  std::uint32_t memory_load = 0;  // percent of physical memory in use; 0 when it could not be read
  MonotonicTime now;              // the monotonic clock, read once per tick
};

class CounterSampler {
 public:
  // A sampler without counters: every counter figure reads 0.
  CounterSampler();
  // `nominal_mhz`: the processor's nominal frequency when known (with "% Processor
  // Performance" it gives the current frequency).
  explicit CounterSampler(std::unique_ptr<CounterSource> source, std::optional<double> nominal_mhz = std::nullopt,
                          std::uint32_t processor_count = 1);
  CounterSampler(CounterSampler&&) noexcept;
  CounterSampler& operator=(CounterSampler&&) noexcept;
  ~CounterSampler();

  // (Re)builds the query for the configuration. Never fails: a counter that cannot be added
  // is left out and reads 0; without a query every counter figure reads 0. The next tick only
  // primes the new query. The lamp hold maps are kept.
  void open_counters(const Config& config);

  // One update tick: collects the query, reads every figure, scales it with `metrics` and
  // compares the result with `stored`. When `has_sample` is false or the figures differ, the
  // new sample replaces `stored` and the result is true; otherwise `stored` is left alone.
  [[nodiscard]] bool sample(const Metrics& metrics, const TickReadings& readings, MetricSample& stored,
                            bool has_sample);

  [[nodiscard]] Result<std::vector<std::string>> enumerate_instances(std::string_view object_name);
  [[nodiscard]] std::vector<PhysicalDiskEntry> list_physical_disks();

  // What the last open_counters built.
  [[nodiscard]] bool has_query() const noexcept { return query_ != nullptr; }
  [[nodiscard]] bool slot_present(CounterSlot slot) const noexcept;
  // The path the slot's counter was added with; empty when the slot is absent.
  [[nodiscard]] std::string_view slot_path(CounterSlot slot) const noexcept;
  [[nodiscard]] const std::vector<MetricKind>& items() const noexcept { return items_; }
  [[nodiscard]] const std::vector<std::string>& disk_filter() const noexcept { return disk_filter_; }
  [[nodiscard]] const std::vector<PhysicalDiskEntry>& physical_disks() const noexcept { return physical_disks_; }
  [[nodiscard]] bool all_adapters() const noexcept { return all_adapters_; }
  [[nodiscard]] bool primed() const noexcept { return primed_; }
  [[nodiscard]] std::optional<double> nominal_mhz() const noexcept { return nominal_mhz_; }
  [[nodiscard]] std::uint32_t processor_count() const noexcept { return processor_count_; }
  [[nodiscard]] const LampHolds& lamp_holds() const noexcept { return holds_; }

 private:
  struct Slot {
    bool present = false;
    CounterId counter = 0;
    std::string path;
  };
  // Per engine type ("3D", "Copy", ...) the summed utilization of one tick.
  struct EngineSum {
    std::string type;
    double sum = 0.0;
  };

  [[nodiscard]] bool add(CounterQuery& query, CounterSlot slot, std::string_view path);
  [[nodiscard]] const Slot* readable(CounterSlot slot) const noexcept;
  [[nodiscard]] double read_value(CounterSlot slot, bool& ok);
  [[nodiscard]] double largest_filtered_disk_busy();
  [[nodiscard]] double largest_engine_type_sum();
  [[nodiscard]] double network_rate(CounterSlot slot);
  void read_array(CounterSlot slot, CounterArray& out);
  void read_disks();
  void match_disk_rates(const CounterArray& array, std::vector<double>& rates) const;

  // A query may refer to the source that opened it, so it always goes first: declared first,
  // it is replaced first when a sampler is moved in; the destructor closes it by hand.
  std::unique_ptr<CounterQuery> query_;
  std::unique_ptr<CounterSource> source_;
  std::array<Slot, kCounterSlotCount> slots_;
  std::vector<MetricKind> items_;
  std::vector<std::string> disk_filter_;
  std::vector<PhysicalDiskEntry> physical_disks_;
  bool disk_lamp_ = false;
  InstanceNames disk_names_;  // what physical_disks_ was last built from
  bool all_adapters_ = false;
  std::array<InstanceNames, 2> adapter_names_;  // received, sent: a change reads the table again
  std::vector<std::string> hardware_adapters_;  // counter instance names; empty: every adapter
  bool primed_ = false;
  bool reading_ = false;  // this tick's readings are taken
  std::optional<double> nominal_mhz_;
  std::uint32_t processor_count_ = 1;
  LampHolds holds_;

  // Storage reused from tick to tick.
  CounterArray array_;
  CounterArray disk_reads_;
  std::vector<EngineSum> engines_;
  std::size_t engine_count_ = 0;
  std::vector<double> read_rates_;
  std::vector<double> write_rates_;
  MetricSample candidate_;
};

}  // namespace vessa
