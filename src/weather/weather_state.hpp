#pragma once
// The weather the main thread keeps, and its intake of the fetches' messages. Each message
// names the place it was fetched for; the intake takes it in only while the accepted settings
// would still make the same request, so a fetch that finishes after weather was turned off or
// the place changed is dropped unseen.

#include <optional>

#include "base/result.hpp"
#include "config/config.hpp"
#include "weather/channel.hpp"
#include "weather/weather_reading.hpp"

namespace vessa {

// What a fetch reports to the main thread: the place it was asked for, and the reading or why
// there is none.
struct WeatherMessage {
  double latitude = 0.0;
  double longitude = 0.0;
  Result<WeatherReading> reading;
};

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

// Takes every waiting message off the channel without blocking, in arrival order, dropping
// those fetched with another request than `accepted` makes (or any, with weather off). Failures
// become a debug line; readings replace the stored one. True when the condition changed.
[[nodiscard]] bool drain(WeatherState& weather, const Weather& accepted);

}  // namespace vessa
