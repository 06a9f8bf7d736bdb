#pragma once
// The forecast request and its answer: the request path for a place and the reading taken
// from the service's JSON response. Pure functions of plain values; the exchange itself is
// https_get's (https_get.hpp), run on a worker thread by the weather fetch.

#include <string>
#include <string_view>

#include "base/result.hpp"
#include "weather/weather_reading.hpp"

namespace vessa {

// The Open-Meteo forecast service.
inline constexpr std::string_view kForecastHost = "api.open-meteo.com";

// A coordinate with exactly four decimals, "-" for negative values, no exponent and no
// grouping: 35.68123 → "35.6812", -0.1 → "-0.1000" (and -0.00001 → "-0.0000"). Every
// double has a text: a very large value is written out in full, NaN as "nan" and infinities
// as "inf" / "-inf" (the service refuses those, and the fetch fails with its HTTP status like
// any other refused request).
[[nodiscard]] std::string format_coordinate(double value);

// "/v1/forecast?latitude=…&longitude=…&current=temperature_2m,weather_code
//  &hourly=precipitation_probability&forecast_hours=1"
[[nodiscard]] std::string forecast_path(double latitude, double longitude);

// The reading in a forecast response body: current.temperature_2m (any number),
// current.weather_code (a non-negative integer, at most 65535 kept) and the first
// hourly.precipitation_probability (a non-negative integer, at most 100 kept, else absent).
[[nodiscard]] Result<WeatherReading> parse_forecast(std::string_view body);

namespace forecast_message {
inline constexpr std::string_view kNotJson = "天気の応答を JSON として解釈できません";
inline constexpr std::string_view kNoCurrent = "天気の応答に current がありません";
inline constexpr std::string_view kNoTemperature = "天気の応答に temperature_2m がありません";
inline constexpr std::string_view kNoWeatherCode = "天気の応答に weather_code がありません";
}  // namespace forecast_message

}  // namespace vessa
