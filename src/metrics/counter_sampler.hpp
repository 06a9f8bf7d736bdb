#pragma once
// CounterSampler: the performance-counter query the configured bars need and the per-tick
// readings taken from it.

namespace vessa {

class CounterSampler {
 public:
  CounterSampler() = default;
};

}  // namespace vessa
