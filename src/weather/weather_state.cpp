#include "weather/weather_state.hpp"

#include "base/debug_output.hpp"

namespace vessa {

bool drain(WeatherState& weather, const Weather& accepted) {
  bool condition_changed = false;
  while (std::optional<WeatherMessage> message = weather.channel.receiver.try_receive()) {
    // Asked for before weather was turned off or the place changed: the user's choice stands.
    if (!weather_fetch_configured(accepted) || message->latitude != *accepted.latitude ||
        message->longitude != *accepted.longitude) {
      continue;
    }
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
