#pragma once
// Weather fetching on worker threads and its intake on the main thread.
//
// Each fetch runs on a detached worker that owns its coordinates and its own copy of the
// channel's sender: one HTTPS request, one message, done. The main thread owns WeatherState
// (inside AppState), keeps the receiver and takes the messages on its update tick. Dropping
// WeatherState closes the channel: workers still running finish unheard and their results
// are freed.

#include <windows.h>

#include <cstdint>
#include <optional>

#include "base/result.hpp"
#include "weather/channel.hpp"
#include "weather/forecast.hpp"
#include "weather/weather_icon.hpp"
#include "weather/weather_reading.hpp"

namespace vessa {

struct AppState;

// The weather state the main thread keeps.
struct WeatherState {
  Channel<WeatherMessage> channel;            // created empty with the state
  std::optional<WeatherReading> reading;      // the last good reading; none at start-up
  std::optional<WeatherCondition> condition;  // its class; none at start-up
  WeatherIconCache icon_cache;                // the icon's masks for the bar's renderer

  // No reading any more (weather turned off or a coordinate removed).
  void clear() noexcept {
    reading.reset();
    condition.reset();
  }
  // The condition's number as the frame's icon kind, or kNoIcon.
  [[nodiscard]] std::uint8_t icon_kind() const noexcept {
    return condition ? static_cast<std::uint8_t>(*condition) : kNoIcon;
  }
};

// One forecast request for the place and its reading (on a worker thread).
[[nodiscard]] Result<WeatherReading> fetch_weather(double latitude, double longitude);

// Starts one fetch on a detached worker when weather is enabled with both coordinates;
// returns at once.
void start_weather_fetch(AppState& state);
// Takes every waiting result off the channel without blocking, in arrival order. Failures
// become a debug line; readings replace the stored one. When the condition changed, the bar
// is drawn again at once and a shown tooltip refreshed.
void drain_weather_results(AppState& state, HWND bar_window);

}  // namespace vessa
