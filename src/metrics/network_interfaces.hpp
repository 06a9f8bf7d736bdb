#pragma once
// Which "Network Interface" counter instances carry the machine's own traffic. Bytes that
// pass through a VPN tunnel, a Hyper-V or WSL virtual switch or a container network are
// counted on the virtual interface and again on the network card, so the sum over every
// adapter counts only the hardware interfaces. The interface table is read by
// network_interfaces_win.hpp; here it is plain values
// (NetworkInterface, counter_source.hpp).

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "metrics/counter_source.hpp"

namespace vessa {

// The counter instance name of an interface description: the counters write "(" as "[",
// ")" as "]", and "#" and "/" as "_".
[[nodiscard]] std::string counter_instance_name(std::string_view description);

// The counter instance names of the hardware interfaces, in table order.
[[nodiscard]] std::vector<std::string> hardware_instance_names(std::span<const NetworkInterface> interfaces);

// The sum of the items that are hardware interfaces (names compared ignoring ASCII case);
// the sum of every item when none is, so that a machine whose table could not be read or
// does not match its counters never reads zero.
[[nodiscard]] double sum_hardware_rates(std::span<const CounterItem> items, std::span<const std::string> hardware);

}  // namespace vessa
