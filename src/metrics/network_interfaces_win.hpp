#pragma once
// The system's network interface table (GetIfTable2) as plain rows. iphlpapi.dll is loaded
// on the first call: only a network bar over every adapter needs it, and only when the
// adapters change.

#include <vector>

#include "base/result.hpp"
#include "metrics/counter_source.hpp"

namespace vessa {

// Every interface with its description and whether it is hardware. Errors: "GetIfTable2 に
// 失敗しました (0x…)", or the library's or the function's absence as the cause of that text.
[[nodiscard]] Result<std::vector<NetworkInterface>> read_network_interfaces();

}  // namespace vessa
