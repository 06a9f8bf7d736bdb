#include "weather/weather_state.hpp"

#include "base/debug_output.hpp"

namespace vessa {

bool drain(WeatherState& weather, const Weather& accepted) {
  (void)accepted;
  bool condition_changed = false;
  while (std::optional<WeatherMessage> message = weather.channel.receiver.try_receive()) {
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
