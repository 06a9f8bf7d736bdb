#include "metrics/counter_sampler.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "metrics/counter_text.hpp"
#include "metrics/network_interfaces.hpp"

namespace vessa {
namespace {

constexpr std::size_t index(CounterSlot slot) noexcept { return static_cast<std::size_t>(slot); }

bool contains(const std::vector<MetricKind>& items, MetricKind kind) {
  return std::find(items.begin(), items.end(), kind) != items.end();
}

// The engine type of a "GPU Engine" instance: what follows the first "engtype_", or the whole
// name without one.
std::string_view engine_type(std::string_view name) noexcept {
  constexpr std::string_view kMarker = "engtype_";
  const std::size_t at = name.find(kMarker);
  return at == std::string_view::npos ? name : name.substr(at + kMarker.size());
}

// A NaN best means "nothing yet"; fmax skips NaN values.
double zero_if_nothing(double best) noexcept { return std::isnan(best) ? 0.0 : best; }

constexpr double kNothing = std::numeric_limits<double>::quiet_NaN();

}  // namespace

namespace counter_path {

std::string network_received(std::string_view adapter) {
  return "\\Network Interface(" + std::string(adapter) + ")\\Bytes Received/sec";
}

std::string network_sent(std::string_view adapter) {
  return "\\Network Interface(" + std::string(adapter) + ")\\Bytes Sent/sec";
}

}  // namespace counter_path

CounterSampler::CounterSampler() = default;

CounterSampler::CounterSampler(std::unique_ptr<CounterSource> source, std::optional<double> nominal_mhz,
                               std::uint32_t processor_count)
    : source_(std::move(source)), nominal_mhz_(nominal_mhz), processor_count_(std::max<std::uint32_t>(processor_count, 1)) {}

CounterSampler::CounterSampler(CounterSampler&&) noexcept = default;
CounterSampler& CounterSampler::operator=(CounterSampler&&) noexcept = default;
CounterSampler::~CounterSampler() { query_.reset(); }

bool CounterSampler::add(CounterQuery& query, CounterSlot slot, std::string_view path) {
  Result<CounterId> added = query.add_english_counter(path);
  if (!added) return false;
  Slot& entry = slots_[index(slot)];
  entry.present = true;
  entry.counter = *added;
  entry.path = std::string(path);
  return true;
}

void CounterSampler::open_counters(const Config& config) {
  const Metrics& metrics = config.metrics;
  items_ = metrics.items;
  for (Slot& slot : slots_) slot = Slot{};
  primed_ = false;
  disk_filter_.clear();
  disk_lamp_ = false;
  disk_names_.reset();
  all_adapters_ = false;
  for (InstanceNames& names : adapter_names_) names.reset();
  hardware_adapters_.clear();

  const bool needs_query = contains(items_, MetricKind::Cpu) || contains(items_, MetricKind::Disk) ||
                           contains(items_, MetricKind::Net) || contains(items_, MetricKind::Gpu) ||
                           metrics.disk_lamp;
  // Without a query there is nothing to read the disks' rates from; a disk list kept from an
  // earlier configuration would show lamps the settings no longer ask for.
  const auto without_query = [this] {
    query_.reset();
    physical_disks_.clear();
  };
  if (!needs_query || !source_) return without_query();
  Result<std::unique_ptr<CounterQuery>> opened = source_->open_query();
  if (!opened) return without_query();  // the error is dropped: the figures simply read 0
  std::unique_ptr<CounterQuery> query = std::move(*opened);

  if (contains(items_, MetricKind::Cpu)) {
    if (!add(*query, CounterSlot::CpuLoad, counter_path::kProcessorUtility)) {
      (void)add(*query, CounterSlot::CpuLoad, counter_path::kProcessorTime);
    }
    (void)add(*query, CounterSlot::CpuPerformance, counter_path::kProcessorPerformance);
  }
  if (contains(items_, MetricKind::Disk)) {
    for (const std::string& entry : metrics.disk_instances) {
      const std::string_view trimmed = trim_space(entry);
      if (!trimmed.empty()) disk_filter_.emplace_back(trimmed);
    }
    if (disk_filter_.empty()) disk_filter_.emplace_back("_Total");
    (void)add(*query, CounterSlot::DiskBusy, counter_path::kDiskTime);
  }
  if (metrics.disk_lamp) {
    disk_lamp_ = true;
    (void)add(*query, CounterSlot::DiskRead, counter_path::kDiskReadBytes);
    (void)add(*query, CounterSlot::DiskWrite, counter_path::kDiskWriteBytes);
    // The listed disks show from the first tick; the counters' own instances take over at
    // the first reading.
    physical_disks_ = vessa::list_physical_disks(*source_);
  } else {
    physical_disks_.clear();
  }
  if (contains(items_, MetricKind::Net)) {
    const std::string_view named = trim_space(metrics.network_adapter);
    all_adapters_ = named.empty();
    const std::string_view adapter = all_adapters_ ? std::string_view("*") : named;
    (void)add(*query, CounterSlot::NetRx, counter_path::network_received(adapter));
    (void)add(*query, CounterSlot::NetTx, counter_path::network_sent(adapter));
  }
  if (contains(items_, MetricKind::Gpu)) (void)add(*query, CounterSlot::GpuEngine, counter_path::kGpuEngine);

  query_ = std::move(query);  // closes the previous query
}

Result<std::vector<std::string>> CounterSampler::enumerate_instances(std::string_view object_name) {
  if (!source_) return Error("no counter source");
  return source_->enumerate_instances(object_name);
}

std::vector<PhysicalDiskEntry> CounterSampler::list_physical_disks() {
  return source_ ? vessa::list_physical_disks(*source_) : std::vector<PhysicalDiskEntry>{};
}

bool CounterSampler::slot_present(CounterSlot slot) const noexcept {
  return index(slot) < slots_.size() && slots_[index(slot)].present;
}

std::string_view CounterSampler::slot_path(CounterSlot slot) const noexcept {
  return slot_present(slot) ? std::string_view(slots_[index(slot)].path) : std::string_view();
}

const CounterSampler::Slot* CounterSampler::readable(CounterSlot slot) const noexcept {
  return reading_ && slot_present(slot) ? &slots_[index(slot)] : nullptr;
}

double CounterSampler::read_value(CounterSlot slot, bool& ok) {
  ok = false;
  double value = 0.0;
  if (const Slot* entry = readable(slot)) ok = query_->read_value(entry->counter, value);
  return ok ? value : 0.0;
}

double CounterSampler::largest_filtered_disk_busy() {
  const Slot* entry = readable(CounterSlot::DiskBusy);
  if (entry == nullptr) return 0.0;
  query_->read_array(entry->counter, array_);
  double best = kNothing;
  for (const CounterItem& item : array_.items()) {
    const bool wanted = std::any_of(disk_filter_.begin(), disk_filter_.end(), [&item](const std::string& filter) {
      return equals_ignore_ascii_case(item.name, filter);
    });
    if (wanted) best = std::fmax(best, item.value);
  }
  return zero_if_nothing(best);
}

double CounterSampler::largest_engine_type_sum() {
  const Slot* entry = readable(CounterSlot::GpuEngine);
  if (entry == nullptr) return 0.0;
  query_->read_array(entry->counter, array_);
  engine_count_ = 0;
  for (const CounterItem& item : array_.items()) {
    const std::string_view type = engine_type(item.name);
    const auto end = engines_.begin() + static_cast<std::ptrdiff_t>(engine_count_);
    auto found = std::find_if(engines_.begin(), end, [type](const EngineSum& e) { return e.type == type; });
    if (found == end) {
      if (engine_count_ == engines_.size()) engines_.emplace_back();
      found = engines_.begin() + static_cast<std::ptrdiff_t>(engine_count_++);
      found->type.assign(type);
      found->sum = 0.0;
    }
    found->sum += item.value;
  }
  double best = kNothing;
  for (std::size_t i = 0; i < engine_count_; ++i) best = std::fmax(best, engines_[i].sum);
  return zero_if_nothing(best);
}

double CounterSampler::network_rate(CounterSlot slot) {
  if (!all_adapters_) {
    bool ok = false;
    return read_value(slot, ok);
  }
  const Slot* entry = readable(slot);
  if (entry == nullptr) return 0.0;
  query_->read_array(entry->counter, array_);
  // Adapters came or went: which of them are network cards is read again.
  InstanceNames& seen = adapter_names_[slot == CounterSlot::NetRx ? 0 : 1];
  if (!array_.empty() && seen.changed(array_.items())) {
    Result<std::vector<NetworkInterface>> table = source_->network_interfaces();
    hardware_adapters_ = table ? hardware_instance_names(*table) : std::vector<std::string>{};
  }
  return sum_hardware_rates(array_.items(), hardware_adapters_);
}

void CounterSampler::read_array(CounterSlot slot, CounterArray& out) {
  out.clear();
  if (const Slot* entry = readable(slot)) query_->read_array(entry->counter, out);
}

void CounterSampler::read_disks() {
  read_array(CounterSlot::DiskRead, disk_reads_);
  read_array(CounterSlot::DiskWrite, array_);
  // The arrays list every disk there is now: one plugged in gets its lamp, one removed loses
  // it. The list is rebuilt only when the names change.
  const CounterArray& listed = disk_reads_.empty() ? array_ : disk_reads_;
  if (!listed.empty() && disk_names_.changed(listed.items())) {
    physical_disks_ = physical_disks_from_instances(disk_names_.names());
  }
  match_disk_rates(disk_reads_, read_rates_);
  match_disk_rates(array_, write_rates_);
}

void CounterSampler::match_disk_rates(const CounterArray& array, std::vector<double>& rates) const {
  rates.assign(physical_disks_.size(), 0.0);
  const std::span<const CounterItem> items = array.items();
  for (std::size_t i = 0; i < physical_disks_.size(); ++i) {
    const auto match = std::find_if(items.begin(), items.end(), [&](const CounterItem& item) {
      return equals_ignore_ascii_case(item.name, physical_disks_[i].instance);
    });
    if (match != items.end()) rates[i] = match->value;
  }
}

bool CounterSampler::sample(const Metrics& metrics, const TickReadings& readings, MetricSample& stored,
                            bool has_sample) {
  // Collect. The first collection of a query only primes it: rates need two.
  reading_ = false;
  if (query_ && query_->collect()) {
    reading_ = primed_;
    primed_ = true;
  }

  RawFigures raw;
  raw.memory_load = static_cast<double>(readings.memory_load);
  MetricSample& next = candidate_;

  // Processor load and frequency.
  bool ok = false;
  raw.cpu_load = read_value(CounterSlot::CpuLoad, ok);
  const double performance = read_value(CounterSlot::CpuPerformance, ok);
  next.cpu_mhz.reset();
  if (nominal_mhz_ && ok) next.cpu_mhz = *nominal_mhz_ * performance / 100.0;

  // Disk busy (the busiest filtered volume), graphics (the busiest engine type), network.
  raw.disk_busy = largest_filtered_disk_busy();
  raw.gpu_load = largest_engine_type_sum();
  raw.net_rx = network_rate(CounterSlot::NetRx);
  raw.net_tx = network_rate(CounterSlot::NetTx);

  // Per-disk rates and the lamps.
  if (disk_lamp_) read_disks();
  next.lamp_lit = update_lamps(physical_disks_, read_rates_, write_rates_, readings.now, metrics, holds_, next.disks);

  // Bars, network halves, the disk busy figure and the raw rates.
  next.bars.resize(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i) {
    next.bars[i].kind = items_[i];
    next.bars[i].percent = bar_percent(items_[i], raw, metrics);
  }
  next.net_rx_percent = scale_network(raw.net_rx, metrics);
  next.net_tx_percent = scale_network(raw.net_tx, metrics);
  next.disk_busy_percent = disk_busy_percent(raw.disk_busy);
  next.net_rx_bytes_per_sec = raw.net_rx;
  next.net_tx_bytes_per_sec = raw.net_tx;

  // Only a changed sample replaces the stored one. The outgoing sample becomes the
  // next tick's scratch, so its storage is reused.
  if (has_sample && next == stored) return false;
  std::swap(next, stored);
  return true;
}

}  // namespace vessa
