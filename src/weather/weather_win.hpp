#pragma once
// Weather fetching on worker threads and its intake on the main thread.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "weather/weather_reading.hpp"

namespace vessa {

struct AppState;

// The weather state the main thread keeps.
struct WeatherState {
  std::optional<WeatherReading> reading;      // the last good reading; none at start-up
  std::optional<WeatherCondition> condition;  // its class; none at start-up
};

// Starts one fetch on a detached worker when weather is enabled with both coordinates.
void start_weather_fetch(AppState& state);
// Takes every waiting result off the channel without blocking.
void drain_weather_results(AppState& state, HWND bar_window);

}  // namespace vessa
