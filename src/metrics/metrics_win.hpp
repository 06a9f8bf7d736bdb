#pragma once
// The sampler's Win32 side: the processor facts read at start-up, the real counter source and
// the update tick.

#include <windows.h>

#include <string>
#include <vector>

#include "config/config.hpp"
#include "metrics/counter_sampler.hpp"

namespace vessa {

struct AppState;

// Start-up steps 8 and 9: the processor facts and the sampler built from the configuration.
[[nodiscard]] CounterSampler make_counter_sampler(const Config& config);

// Start-up step 13: the drive names behind the "PhysicalDisk" counter instances.
[[nodiscard]] std::vector<std::string> physical_disk_drive_letters();

// The update tick's sampling: reads the counters, and when the sample changed stores it,
// redraws and refreshes the tooltip while hovering.
void sample(AppState& state, HWND bar_window);

}  // namespace vessa
