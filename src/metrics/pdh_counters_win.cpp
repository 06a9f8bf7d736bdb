#include "metrics/pdh_counters_win.hpp"

#include <windows.h>
#include <pdh.h>
#include <pdhmsg.h>

#include <algorithm>
#include <cstdint>

#include "base/system_error.hpp"
#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"
#include "metrics/counter_sampler.hpp"
#include "metrics/counter_text.hpp"
#include "metrics/network_interfaces_win.hpp"

namespace vessa {
namespace {

inline void close_pdh_query(PDH_HQUERY query) noexcept { PdhCloseQuery(query); }
using UniquePdhQuery = UniqueAny<PDH_HQUERY, &close_pdh_query>;

// PdhGetFormattedCounterArrayW sizes its buffer in bytes; the buffer is read as these items
// (a name pointer and a formatted value), the names stored after them.
static_assert(sizeof(PDH_FMT_COUNTERVALUE_ITEM_W) == 24, "24-byte counter array items");

std::string status_text(PDH_STATUS status) { return hex_code(static_cast<std::uint32_t>(status)); }

class PdhQuery final : public CounterQuery {
 public:
  explicit PdhQuery(PDH_HQUERY query) noexcept : query_(query) {}

  Result<CounterId> add_english_counter(std::string_view path) override {
    const std::wstring wide = widen(path);
    PDH_HCOUNTER counter = nullptr;
    const PDH_STATUS status = PdhAddEnglishCounterW(query_.get(), wide.c_str(), 0, &counter);
    if (status != ERROR_SUCCESS) return Error("PdhAddEnglishCounterW に失敗しました (" + status_text(status) + ")");
    counters_.push_back(counter);
    return static_cast<CounterId>(counters_.size() - 1);
  }

  bool collect() override { return PdhCollectQueryData(query_.get()) == ERROR_SUCCESS; }

  bool read_value(CounterId counter, double& value) override {
    if (counter >= counters_.size()) return false;
    PDH_FMT_COUNTERVALUE formatted{};
    if (PdhGetFormattedCounterValue(counters_[counter], PDH_FMT_DOUBLE, nullptr, &formatted) != ERROR_SUCCESS) {
      return false;
    }
    value = formatted.doubleValue;  // the item's own status is not examined
    return true;
  }

  void read_array(CounterId counter, CounterArray& out) override {
    out.clear();
    if (counter >= counters_.size()) return;
    DWORD size = 0;
    DWORD count = 0;
    PDH_STATUS status = PdhGetFormattedCounterArrayW(counters_[counter], PDH_FMT_DOUBLE, &size, &count, nullptr);
    if (static_cast<DWORD>(status) != static_cast<DWORD>(PDH_MORE_DATA) || size == 0) return;
    const std::size_t item_count = size / sizeof(PDH_FMT_COUNTERVALUE_ITEM_W) +
                                   (size % sizeof(PDH_FMT_COUNTERVALUE_ITEM_W) != 0 ? 1 : 0);
    if (items_.size() < item_count) items_.resize(item_count);  // kept for the next tick
    std::fill_n(items_.begin(), item_count, PDH_FMT_COUNTERVALUE_ITEM_W{});
    status = PdhGetFormattedCounterArrayW(counters_[counter], PDH_FMT_DOUBLE, &size, &count, items_.data());
    if (status != ERROR_SUCCESS) return;

    const auto buffer_begin = reinterpret_cast<std::uintptr_t>(items_.data());
    const std::uintptr_t buffer_end = buffer_begin + item_count * sizeof(PDH_FMT_COUNTERVALUE_ITEM_W);
    const std::size_t usable = std::min<std::size_t>(count, item_count);
    for (std::size_t i = 0; i < usable; ++i) {
      const PDH_FMT_COUNTERVALUE_ITEM_W& item = items_[i];
      CounterItem& target = out.append();
      target.value = item.FmtValue.doubleValue;
      target.name.clear();
      const wchar_t* name = item.szName;
      if (name == nullptr) continue;
      // Names live in the same buffer; never read past its end.
      const auto at = reinterpret_cast<std::uintptr_t>(name);
      const std::size_t limit = at >= buffer_begin && at < buffer_end
                                    ? static_cast<std::size_t>(buffer_end - at) / sizeof(wchar_t)
                                    : static_cast<std::size_t>(-1);
      if (!utf16_to_utf8_into(name, bounded_length(name, limit), target.name)) target.name.clear();
    }
  }

 private:
  UniquePdhQuery query_;
  std::vector<PDH_HCOUNTER> counters_;
  std::vector<PDH_FMT_COUNTERVALUE_ITEM_W> items_;
};

// A counter of each object whose instances are listed, by its English path.
std::string_view english_probe(std::string_view object_name) noexcept {
  if (object_name == "PhysicalDisk") return counter_path::kDiskReadBytes;
  if (object_name == "LogicalDisk") return counter_path::kDiskTime;
  if (object_name == "Network Interface") return "\\Network Interface(*)\\Bytes Received/sec";
  return {};
}

// PdhEnumObjectItemsW wants the object's name in the system's language ("Datenträger" on a
// German Windows). A counter added by its English path carries the local path, so its object
// name is read back from it. The English name when that cannot be had: on an English
// Windows it is the same.
std::wstring local_object_name(std::string_view object_name) {
  std::wstring english = widen(object_name);
  const std::string_view probe = english_probe(object_name);
  if (probe.empty()) return english;
  PDH_HQUERY opened = nullptr;
  if (PdhOpenQueryW(nullptr, 0, &opened) != ERROR_SUCCESS) return english;
  const UniquePdhQuery query(opened);
  PDH_HCOUNTER counter = nullptr;
  if (PdhAddEnglishCounterW(query.get(), widen(probe).c_str(), 0, &counter) != ERROR_SUCCESS) return english;
  DWORD size = 0;
  PDH_STATUS status = PdhGetCounterInfoW(counter, FALSE, &size, nullptr);
  if (static_cast<DWORD>(status) != static_cast<DWORD>(PDH_MORE_DATA) || size < sizeof(PDH_COUNTER_INFO_W)) {
    return english;
  }
  // The record and the strings it points to share one buffer, aligned for the record.
  std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
  auto* info = reinterpret_cast<PDH_COUNTER_INFO_W*>(buffer.data());
  status = PdhGetCounterInfoW(counter, FALSE, &size, info);
  if (status != ERROR_SUCCESS || info->szObjectName == nullptr) return english;
  const auto begin = reinterpret_cast<std::uintptr_t>(buffer.data());
  const auto at = reinterpret_cast<std::uintptr_t>(info->szObjectName);
  const std::size_t bytes = buffer.size() * sizeof(std::uint64_t);
  if (at < begin || at >= begin + bytes) return english;  // never read outside the buffer
  const std::size_t length = bounded_length(info->szObjectName, (begin + bytes - at) / sizeof(wchar_t));
  if (length == 0) return english;
  return std::wstring(info->szObjectName, length);
}

}  // namespace

Result<std::unique_ptr<CounterQuery>> PdhCounterSource::open_query() {
  PDH_HQUERY query = nullptr;
  const PDH_STATUS status = PdhOpenQueryW(nullptr, 0, &query);
  if (status != ERROR_SUCCESS) return Error("PdhOpenQueryW に失敗しました (" + status_text(status) + ")");
  return std::unique_ptr<CounterQuery>(std::make_unique<PdhQuery>(query));
}

Result<std::vector<std::string>> PdhCounterSource::enumerate_instances(std::string_view object_name) {
  const std::wstring object = local_object_name(object_name);
  DWORD counter_length = 0;
  DWORD instance_length = 0;
  PDH_STATUS status = PdhEnumObjectItemsW(nullptr, nullptr, object.c_str(), nullptr, &counter_length, nullptr,
                                          &instance_length, PERF_DETAIL_WIZARD, 0);
  if (static_cast<DWORD>(status) != static_cast<DWORD>(PDH_MORE_DATA)) {
    return Error("PdhEnumObjectItemsW のサイズ問い合わせに失敗しました (" + status_text(status) + ")");
  }
  if (instance_length == 0) return std::vector<std::string>{};
  counter_length = std::max<DWORD>(counter_length, 1);
  std::vector<wchar_t> counters(counter_length, L'\0');
  std::vector<wchar_t> instances(instance_length, L'\0');
  status = PdhEnumObjectItemsW(nullptr, nullptr, object.c_str(), counters.data(), &counter_length, instances.data(),
                               &instance_length, PERF_DETAIL_WIZARD, 0);
  if (status != ERROR_SUCCESS) return Error("PdhEnumObjectItemsW に失敗しました (" + status_text(status) + ")");
  return parse_name_list(instances.data(), instances.size());
}

Result<std::vector<NetworkInterface>> PdhCounterSource::network_interfaces() { return read_network_interfaces(); }

}  // namespace vessa
