#include "weather/weather_state.hpp"

#include "base/debug_output.hpp"
#include "weather/forecast.hpp"

namespace vessa {
namespace {

// A result answers the settings when they would make the very request it was fetched with:
// NaN, which equals nothing, is asked for like any number.
bool asked_for(const WeatherMessage& message, const Weather& accepted) {
  return weather_fetch_configured(accepted) &&
         forecast_path(message.latitude, message.longitude) == forecast_path(*accepted.latitude, *accepted.longitude);
}

}  // namespace

bool drain(WeatherState& weather, const Weather& accepted) {
  bool condition_changed = false;
  while (std::optional<WeatherMessage> message = weather.channel.receiver.try_receive()) {
    // Asked for before weather was turned off or the place changed: the user's choice stands.
    if (!asked_for(*message, accepted)) continue;
    if (!message->reading.ok()) {
      debug::line("天気の取得に失敗: " + message->reading.error().full_text());
      continue;
    }
    const WeatherReading& reading = message->reading.value();
    const WeatherCondition condition = condition_from_code(reading.weather_code);
    if (weather.condition != condition) condition_changed = true;
    weather.reading = reading;
    weather.condition = condition;
  }
  return condition_changed;
}

}  // namespace vessa
