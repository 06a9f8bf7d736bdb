#include "scripted_counters.hpp"

#include <algorithm>
#include <utility>

#include "base/system_error.hpp"

namespace vessa {

// One open query: the paths added to it, indexed by counter id. Reads nothing until it has
// been collected once, as a real query.
class ScriptedQuery final : public CounterQuery {
 public:
  explicit ScriptedQuery(ScriptedCounters& source) : source_(source) { ++source_.queries_open_; }
  ~ScriptedQuery() override { --source_.queries_open_; }

  Result<CounterId> add_english_counter(std::string_view path) override {
    source_.add_attempts_.emplace_back(path);
    if (!source_.offers(path)) return Error("PdhAddEnglishCounterW に失敗しました (" + hex_code(0xC0000BB9u) + ")");
    paths_.emplace_back(path);
    return static_cast<CounterId>(paths_.size() - 1);
  }

  bool collect() override {
    if (source_.fail_collect) return false;
    ++source_.collections_;
    collected_ = true;
    return true;
  }

  bool read_value(CounterId counter, double& value) override {
    const ScriptedCounters::Reading* reading = find(counter);
    if (reading == nullptr || reading->fails || !reading->value) return false;
    value = *reading->value;
    return true;
  }

  void read_array(CounterId counter, CounterArray& out) override {
    out.clear();
    const ScriptedCounters::Reading* reading = find(counter);
    if (reading == nullptr || reading->fails || !reading->array) return;
    for (const CounterItem& item : *reading->array) {
      CounterItem& slot = out.append();
      slot.name.assign(item.name);
      slot.value = item.value;
    }
  }

 private:
  const ScriptedCounters::Reading* find(CounterId counter) const {
    if (!collected_ || counter >= paths_.size()) return nullptr;
    return source_.reading(paths_[counter]);
  }

  ScriptedCounters& source_;
  std::vector<std::string> paths_;
  bool collected_ = false;
};

void ScriptedCounters::offer(std::string_view path) { offered_.emplace_back(path); }

void ScriptedCounters::set_value(std::string_view path, double value) {
  Reading& reading = readings_[std::string(path)];
  reading.fails = false;
  reading.value = value;
}

void ScriptedCounters::set_array(std::string_view path, std::vector<CounterItem> items) {
  Reading& reading = readings_[std::string(path)];
  reading.fails = false;
  reading.array = std::move(items);
}

void ScriptedCounters::fail_reads(std::string_view path) { readings_[std::string(path)].fails = true; }

void ScriptedCounters::set_instances(std::string_view object_name, std::vector<std::string> names) {
  instances_.insert_or_assign(std::string(object_name), Result<std::vector<std::string>>(std::move(names)));
}

void ScriptedCounters::fail_instances(std::string_view object_name, Error error) {
  instances_.insert_or_assign(std::string(object_name), Result<std::vector<std::string>>(std::move(error)));
}

Result<std::unique_ptr<CounterQuery>> ScriptedCounters::open_query() {
  if (fail_open) return Error("PdhOpenQueryW に失敗しました (" + hex_code(0xC0000BC6u) + ")");
  ++queries_opened_;
  return std::unique_ptr<CounterQuery>(std::make_unique<ScriptedQuery>(*this));
}

Result<std::vector<std::string>> ScriptedCounters::enumerate_instances(std::string_view object_name) {
  const auto found = instances_.find(object_name);
  if (found == instances_.end()) {
    return Error("PdhEnumObjectItemsW のサイズ問い合わせに失敗しました (" + hex_code(0xC0000BB8u) + ")");
  }
  return found->second;
}

Result<std::vector<NetworkInterface>> ScriptedCounters::network_interfaces() {
  ++interface_reads_;
  if (!interfaces_) return Error("GetIfTable2 に失敗しました (" + hex_code(0x00000032u) + ")");
  return *interfaces_;
}

bool ScriptedCounters::offers(std::string_view path) const {
  return offer_every_path || std::find(offered_.begin(), offered_.end(), path) != offered_.end();
}

const ScriptedCounters::Reading* ScriptedCounters::reading(const std::string& path) const {
  const auto found = readings_.find(path);
  return found == readings_.end() ? nullptr : &found->second;
}

}  // namespace vessa
