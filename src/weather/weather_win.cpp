#include "weather/weather_win.hpp"

#include <exception>
#include <thread>

#include "weather/https_get.hpp"

namespace vessa {
namespace {

// The worker's whole life: nothing may escape the thread.
void fetch_and_send(double latitude, double longitude, const Sender<WeatherMessage>& sender) noexcept {
  try {
    sender.send(WeatherMessage{latitude, longitude, fetch_weather(latitude, longitude)});
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

void start_fetch(WeatherState& weather, double latitude, double longitude) {
  try {
    std::thread(fetch_and_send, latitude, longitude, weather.channel.sender).detach();
  } catch (const std::exception&) {
    // No thread (system_error) or no memory for it: no fetch this time; the next tick tries again.
  }
}

}  // namespace vessa
