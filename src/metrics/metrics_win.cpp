#include "metrics/metrics_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {

CounterSampler make_counter_sampler(const Config& /*config*/) { return CounterSampler{}; }

std::vector<std::string> physical_disk_drive_letters() { return {}; }

void sample(AppState& /*state*/, HWND /*bar_window*/) {}

}  // namespace vessa
