#include "weather/forecast.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

#include "weather/json_parse.hpp"

namespace vessa {
namespace {

// A JSON integer that is not negative (a fraction never is one, even 2.0).
std::optional<std::uint64_t> non_negative_integer(const Json* value) {
  if (value == nullptr) return std::nullopt;
  if (value->is_number_unsigned()) return value->get<std::uint64_t>();
  // Non-negative integers parse as unsigned; "-0" is the one signed integer that is not negative.
  if (value->is_number_integer() && value->get<std::int64_t>() == 0) return 0;
  return std::nullopt;
}

std::optional<std::uint8_t> first_probability(const Json& root) {
  const Json* hourly = json_member(root, "hourly");
  const Json* values = hourly != nullptr ? json_member(*hourly, "precipitation_probability") : nullptr;
  if (values == nullptr || !values->is_array() || values->empty()) return std::nullopt;
  const auto first = non_negative_integer(&values->front());
  if (!first) return std::nullopt;
  return static_cast<std::uint8_t>(std::min<std::uint64_t>(*first, 100));
}

}  // namespace

std::string format_coordinate(double value) {
  // Fixed notation of the largest double needs 309 digits before the point.
  std::array<char, 400> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 4);
  return std::string(buffer.data(), written.ptr);
}

std::string forecast_path(double latitude, double longitude) {
  std::string path = "/v1/forecast?latitude=";
  path += format_coordinate(latitude);
  path += "&longitude=";
  path += format_coordinate(longitude);
  path += "&current=temperature_2m,weather_code&hourly=precipitation_probability&forecast_hours=1";
  return path;
}

Result<WeatherReading> parse_forecast(std::string_view body) {
  Result<Json> parsed = parse_json(body, forecast_message::kNotJson);
  if (!parsed) return parsed.error();
  const Json& root = *parsed;

  const Json* current = json_member(root, "current");
  if (current == nullptr) return Error(std::string(forecast_message::kNoCurrent));

  // A "current" that is not an object has no temperature either.
  const Json* temperature = json_member(*current, "temperature_2m");
  if (temperature == nullptr || !temperature->is_number()) {
    return Error(std::string(forecast_message::kNoTemperature));
  }

  const auto code = non_negative_integer(json_member(*current, "weather_code"));
  if (!code) return Error(std::string(forecast_message::kNoWeatherCode));

  WeatherReading reading;
  reading.temperature = temperature->get<double>();
  reading.weather_code = static_cast<std::uint16_t>(std::min<std::uint64_t>(*code, 65535));
  reading.precipitation_probability = first_probability(root);
  return reading;
}

}  // namespace vessa
