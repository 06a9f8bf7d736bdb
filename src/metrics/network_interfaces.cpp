#include "metrics/network_interfaces.hpp"

#include <algorithm>

#include "metrics/counter_text.hpp"

namespace vessa {

std::string counter_instance_name(std::string_view description) {
  std::string name(description);
  for (char& c : name) {
    if (c == '(') c = '[';
    else if (c == ')') c = ']';
    else if (c == '#' || c == '/') c = '_';
  }
  return name;
}

std::vector<std::string> hardware_instance_names(std::span<const NetworkInterface> interfaces) {
  std::vector<std::string> names;
  for (const NetworkInterface& row : interfaces) {
    if (row.hardware) names.push_back(counter_instance_name(row.description));
  }
  return names;
}

double sum_hardware_rates(std::span<const CounterItem> items, std::span<const std::string> hardware) {
  double all = 0.0;
  double matched = 0.0;
  bool any_matched = false;
  for (const CounterItem& item : items) {
    all += item.value;
    const bool is_hardware = std::any_of(hardware.begin(), hardware.end(), [&item](const std::string& name) {
      return equals_ignore_ascii_case(item.name, name);
    });
    if (is_hardware) {
      matched += item.value;
      any_matched = true;
    }
  }
  return any_matched ? matched : all;
}

}  // namespace vessa
