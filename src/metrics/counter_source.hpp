#pragma once
// The seam between the sampler and the system's performance counters. The sampler sees only
// these two interfaces: a CounterSource opens queries, lists the instances of a counter
// object and reads the network interface table; a CounterQuery owns one open query with its
// counters and is closed by its destructor. The program's source calls pdh.dll and
// iphlpapi.dll (pdh_counters_win.hpp); host tests and the benchmark feed scripted readings
// (tests/support/scripted_counters.hpp).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.hpp"

namespace vessa {

// One item of a counter array: an instance name and its formatted value.
struct CounterItem {
  std::string name;
  double value = 0.0;
};

// A counter array read into storage that is kept from tick to tick: `items` never shrinks, so
// the names keep their capacity; only the first `count` items are the current reading.
class CounterArray {
 public:
  void clear() noexcept { count_ = 0; }
  // The next item to fill; its name still holds an older text and must be overwritten.
  CounterItem& append() {
    if (count_ == items_.size()) items_.emplace_back();
    return items_[count_++];
  }
  [[nodiscard]] std::span<const CounterItem> items() const noexcept { return {items_.data(), count_}; }
  [[nodiscard]] std::size_t size() const noexcept { return count_; }
  [[nodiscard]] bool empty() const noexcept { return count_ == 0; }

 private:
  std::vector<CounterItem> items_;
  std::size_t count_ = 0;
};

// One row of the system's network interface table.
struct NetworkInterface {
  std::string description;  // "Intel(R) Ethernet Connection (7) I219-V"
  bool hardware = false;    // a network card, not a tunnel, virtual switch or loopback
};

// A counter added to a query; meaningful only to the query that returned it.
using CounterId = std::uint32_t;

class CounterQuery {
 public:
  CounterQuery() = default;
  CounterQuery(const CounterQuery&) = delete;
  CounterQuery& operator=(const CounterQuery&) = delete;
  virtual ~CounterQuery() = default;  // closes the query and every counter in it

  // Adds a counter by its language-neutral (English) path.
  [[nodiscard]] virtual Result<CounterId> add_english_counter(std::string_view path) = 0;
  // Takes one collection of every counter in the query; false when it failed.
  [[nodiscard]] virtual bool collect() = 0;
  // The counter's single value as a double; false when it could not be read.
  [[nodiscard]] virtual bool read_value(CounterId counter, double& value) = 0;
  // Replaces `out` with the counter's array of (instance, value); empty when it could not be
  // read.
  virtual void read_array(CounterId counter, CounterArray& out) = 0;
};

class CounterSource {
 public:
  CounterSource() = default;
  CounterSource(const CounterSource&) = delete;
  CounterSource& operator=(const CounterSource&) = delete;
  virtual ~CounterSource() = default;

  // A new, empty query on live data of the local machine.
  [[nodiscard]] virtual Result<std::unique_ptr<CounterQuery>> open_query() = 0;
  // The instance names of a counter object ("PhysicalDisk", "LogicalDisk", ...).
  [[nodiscard]] virtual Result<std::vector<std::string>> enumerate_instances(std::string_view object_name) = 0;
  // The network interfaces of the machine; a source without a table says so as an error.
  [[nodiscard]] virtual Result<std::vector<NetworkInterface>> network_interfaces() {
    return Error("no network interface table");
  }
};

}  // namespace vessa
