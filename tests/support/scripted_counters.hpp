#pragma once
// A counter source that plays back readings set by its owner, for the host tests and the
// benchmark, where there is no pdh.dll. Like PDH, it accepts only the counter paths it
// offers, reads nothing before a collection, and its readings stay as set until the owner
// changes them, so a test scripts each tick by setting values between two samples.
// Main thread only; the queries it opens refer to it and must not outlive it.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "metrics/counter_source.hpp"

namespace vessa {

class ScriptedCounters final : public CounterSource {
 public:
  // --- What the machine offers -------------------------------------------------------------
  // Lets `path` be added to a query. With offer_every_path, every path can be added.
  void offer(std::string_view path);
  bool offer_every_path = false;
  bool fail_open = false;     // open_query fails
  bool fail_collect = false;  // every collection fails

  // The counter at `path` reads this single value / this array from now on.
  void set_value(std::string_view path, double value);
  void set_array(std::string_view path, std::vector<CounterItem> items);
  // The counter at `path` fails to read (a single value and an array alike).
  void fail_reads(std::string_view path);

  void set_instances(std::string_view object_name, std::vector<std::string> names);
  void fail_instances(std::string_view object_name, Error error);
  // The network interface table from now on; without one, reading it fails.
  void set_interfaces(std::vector<NetworkInterface> interfaces) { interfaces_ = std::move(interfaces); }

  // --- What the sampler did -----------------------------------------------------------------
  [[nodiscard]] int queries_opened() const noexcept { return queries_opened_; }
  [[nodiscard]] int queries_open() const noexcept { return queries_open_; }
  [[nodiscard]] int collections() const noexcept { return collections_; }
  [[nodiscard]] int interface_reads() const noexcept { return interface_reads_; }
  // Every path the sampler tried to add, in order, added or not.
  [[nodiscard]] const std::vector<std::string>& add_attempts() const noexcept { return add_attempts_; }

  // CounterSource
  [[nodiscard]] Result<std::unique_ptr<CounterQuery>> open_query() override;
  [[nodiscard]] Result<std::vector<std::string>> enumerate_instances(std::string_view object_name) override;
  [[nodiscard]] Result<std::vector<NetworkInterface>> network_interfaces() override;

 private:
  friend class ScriptedQuery;

  struct Reading {
    bool fails = false;
    std::optional<double> value;
    std::optional<std::vector<CounterItem>> array;
  };

  [[nodiscard]] bool offers(std::string_view path) const;
  [[nodiscard]] const Reading* reading(const std::string& path) const;

  std::vector<std::string> offered_;
  std::map<std::string, Reading, std::less<>> readings_;
  std::map<std::string, Result<std::vector<std::string>>, std::less<>> instances_;
  std::optional<std::vector<NetworkInterface>> interfaces_;
  std::vector<std::string> add_attempts_;
  int queries_opened_ = 0;
  int queries_open_ = 0;
  int collections_ = 0;
  int interface_reads_ = 0;
};

}  // namespace vessa
