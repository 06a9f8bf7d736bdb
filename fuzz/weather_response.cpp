// Fuzzes what a forecast answer goes through after the network: the body check (size and
// UTF-8) and the JSON parsing into a reading. Any bytes give a reading or one of the known
// messages, and a reading always keeps to its ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "weather/forecast.hpp"
#include "response_body.hpp"

namespace {

[[noreturn]] void fail() { std::abort(); }

bool known_failure(const vessa::Error& error) {
  const std::string& m = error.message();
  return m == vessa::forecast_message::kNotJson || m == vessa::forecast_message::kNoCurrent ||
         m == vessa::forecast_message::kNoTemperature || m == vessa::forecast_message::kNoWeatherCode;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::optional<std::string> text = fuzz::response_text(data, size);
  if (!text) return 0;
  const vessa::Result<vessa::WeatherReading> reading = vessa::parse_forecast(*text);
  if (!reading) {
    if (!known_failure(reading.error())) fail();
    return 0;
  }
  if (reading->precipitation_probability && *reading->precipitation_probability > 100) fail();
  return 0;
}
