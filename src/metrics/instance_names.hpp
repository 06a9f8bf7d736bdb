#pragma once
// The instance names a wildcard counter reported last, kept so that a tick can tell whether
// instances came or went (a USB disk plugged in, a VPN adapter up) without allocating: only
// a change copies the names.

#include <span>
#include <string>
#include <vector>

#include "metrics/counter_source.hpp"

namespace vessa {

class InstanceNames {
 public:
  // True when `items` carry other names than last time (or the first time); the new names
  // are then kept. Order counts: the counters report their instances in a stable order.
  [[nodiscard]] bool changed(std::span<const CounterItem> items);
  [[nodiscard]] std::span<const std::string> names() const noexcept { return names_; }
  // Forgets the names, so that the next reading counts as a change.
  void reset() noexcept {
    names_.clear();
    known_ = false;
  }

 private:
  std::vector<std::string> names_;
  bool known_ = false;
};

}  // namespace vessa
