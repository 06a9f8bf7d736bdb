#pragma once
// Weather fetching on worker threads; the intake on the main thread is weather_state.hpp's.
//
// Each fetch runs on a detached worker that owns its coordinates and its own copy of the
// channel's sender: one HTTPS request, one message, done. The main thread owns WeatherState,
// keeps the receiver and takes the messages on its update tick. Dropping WeatherState closes
// the channel: workers still running finish unheard and their results are freed.

#include <optional>

#include "base/result.hpp"
#include "weather/forecast.hpp"
#include "weather/weather_state.hpp"

namespace vessa {

// One forecast request for the place and its reading (on a worker thread).
[[nodiscard]] Result<WeatherReading> fetch_weather(double latitude, double longitude);

// Starts one fetch for the place on a detached worker; returns at once. Without a thread
// (no memory, no system resources) nothing is fetched this time.
void start_fetch(WeatherState& weather, double latitude, double longitude);

}  // namespace vessa
