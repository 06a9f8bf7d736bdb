#pragma once
// The sampler's Win32 side: the processor facts read at start-up, the real counter source and
// the figures a tick reads outside the counter query.

#include <string>
#include <string_view>
#include <vector>

#include "base/result.hpp"
#include "metrics/counter_sampler.hpp"

namespace vessa {

// The sampler over pdh.dll with the processor count and nominal frequency; no counters until
// open_counters.
[[nodiscard]] CounterSampler make_counter_sampler();

// The drive names behind the "PhysicalDisk" counter instances.
[[nodiscard]] std::vector<std::string> physical_disk_drive_letters();

// The instance names of a counter object on this machine ("LogicalDisk", "Network
// Interface", ...), for the settings window's lists. Callers treat an error as no instances.
[[nodiscard]] Result<std::vector<std::string>> enumerate_instances(std::string_view object_name);

// What one tick reads besides the counters: the memory load and the monotonic clock.
[[nodiscard]] TickReadings read_tick_readings();

}  // namespace vessa
