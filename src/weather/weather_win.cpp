#include "weather/weather_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {

void start_weather_fetch(AppState& /*state*/) {}

void drain_weather_results(AppState& /*state*/, HWND /*bar_window*/) {}

}  // namespace vessa
