#pragma once
// The counter source over pdh.dll: English counter paths on live data of the local machine,
// formatted as doubles. Each query is owned by one PdhQuery and closed with PdhCloseQuery when
// that goes; its counters are closed with it. The network interface table comes from
// iphlpapi.dll (network_interfaces_win.hpp).

#include "metrics/counter_source.hpp"

namespace vessa {

class PdhCounterSource final : public CounterSource {
 public:
  [[nodiscard]] Result<std::unique_ptr<CounterQuery>> open_query() override;
  // `object_name` is the English name; the listing asks for the object by the name the
  // system's language gives it. Errors: "PdhEnumObjectItemsW のサイズ問い合わせに失敗しました
  // (0x…)" when the size query does not ask for buffers, "PdhEnumObjectItemsW に失敗しました
  // (0x…)" when the listing fails.
  [[nodiscard]] Result<std::vector<std::string>> enumerate_instances(std::string_view object_name) override;
  [[nodiscard]] Result<std::vector<NetworkInterface>> network_interfaces() override;
};

}  // namespace vessa
