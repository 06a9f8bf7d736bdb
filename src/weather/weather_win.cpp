#include "weather/weather_win.hpp"

#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include "app/app_state_win.hpp"
#include "base/debug_output.hpp"
#include "render/bar_drawing_win.hpp"
#include "render/tooltip_win.hpp"
#include "weather/https_get.hpp"

namespace vessa {
namespace {

// The worker's whole life: nothing may escape the thread.
void fetch_and_send(double latitude, double longitude, const Sender<WeatherMessage>& sender) noexcept {
  try {
    sender.send(fetch_weather(latitude, longitude));
  } catch (...) {
    // Out of memory: this result is lost; the next weather tick fetches again.
  }
}

}  // namespace

Result<WeatherReading> fetch_weather(double latitude, double longitude) {
  Result<std::string> body = https_get(kForecastHost, forecast_path(latitude, longitude));
  if (!body) return body.error();
  return parse_forecast(*body);
}

void start_weather_fetch(AppState& state) {
  const Weather& weather = state.config.weather;
  if (!weather_fetch_configured(weather)) return;
  try {
    std::thread(fetch_and_send, *weather.latitude, *weather.longitude, state.weather.channel.sender).detach();
  } catch (const std::exception&) {
    // No thread (system_error) or no memory for it: no fetch this time; the next tick tries again.
  }
}

void drain_weather_results(AppState& state, HWND bar_window) {
  bool condition_changed = false;
  while (std::optional<WeatherMessage> message = state.weather.channel.receiver.try_receive()) {
    if (!message->ok()) {
      debug::line("天気の取得に失敗: " + message->error().full_text());
      continue;
    }
    const WeatherReading& reading = message->value();
    const WeatherCondition condition = condition_from_code(reading.weather_code);
    if (state.weather.condition != condition) condition_changed = true;
    state.weather.reading = reading;
    state.weather.condition = condition;
  }
  if (!condition_changed) return;
  draw_and_push(state, bar_window);
  if (state.hovering) refresh_tooltip(state);
}

}  // namespace vessa
