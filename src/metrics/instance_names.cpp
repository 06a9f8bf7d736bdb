#include "metrics/instance_names.hpp"

#include <algorithm>

namespace vessa {

bool InstanceNames::changed(std::span<const CounterItem> items) {
  const bool same = known_ && std::equal(items.begin(), items.end(), names_.begin(), names_.end(),
                                         [](const CounterItem& item, const std::string& name) { return item.name == name; });
  if (same) return false;
  names_.clear();
  for (const CounterItem& item : items) names_.push_back(item.name);
  known_ = true;
  return true;
}

}  // namespace vessa
