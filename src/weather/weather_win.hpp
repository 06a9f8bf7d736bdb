#pragma once
// Weather fetching on worker threads and its intake on the main thread.
//
// Each fetch runs on a detached worker that owns its coordinates and its own copy of the
// channel's sender: one HTTPS request, one message, done. The main thread owns WeatherState,
// keeps the receiver and takes the messages on its update tick. Dropping WeatherState closes
// the channel: workers still running finish unheard and their results are freed.

#include <optional>

#include "base/result.hpp"
#include "weather/channel.hpp"
#include "weather/forecast.hpp"
#include "weather/weather_reading.hpp"

namespace vessa {

// The weather state the main thread keeps.
struct WeatherState {
  Channel<WeatherMessage> channel;            // created empty with the state
  std::optional<WeatherReading> reading;      // the last good reading; none at start-up
  std::optional<WeatherCondition> condition;  // its class; none at start-up

  // No reading any more (weather turned off or a coordinate removed).
  void clear() noexcept {
    reading.reset();
    condition.reset();
  }
};

// One forecast request for the place and its reading (on a worker thread).
[[nodiscard]] Result<WeatherReading> fetch_weather(double latitude, double longitude);

// Starts one fetch for the place on a detached worker; returns at once. Without a thread
// (no memory, no system resources) nothing is fetched this time.
void start_fetch(WeatherState& weather, double latitude, double longitude);

// Takes every waiting result off the channel without blocking, in arrival order. Failures
// become a debug line; readings replace the stored one. True when the condition changed.
[[nodiscard]] bool drain(WeatherState& weather);

}  // namespace vessa
