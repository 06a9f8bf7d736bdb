#include "weather/forecast.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

#include <nlohmann/json.hpp>

namespace vessa {
namespace {

using Json = nlohmann::json;

// Builds the value tree like nlohmann's own DOM parser, but keeps the parser's message on a
// syntax error instead of throwing it.
class TreeBuilder : public nlohmann::detail::json_sax_dom_parser<Json> {
 public:
  explicit TreeBuilder(Json& tree) : json_sax_dom_parser(tree, /*allow_exceptions=*/false) {}

  bool parse_error(std::size_t /*position*/, const std::string& /*last_token*/,
                   const nlohmann::detail::exception& error) {
    message_ = error.what();
    return false;
  }
  [[nodiscard]] const std::string& message() const noexcept { return message_; }

 private:
  std::string message_;
};

Result<Json> parse_json(std::string_view text) {
  Json root;
  TreeBuilder builder(root);
  // Strict: the whole text is one value; anything after it is an error.
  const bool parsed = Json::sax_parse(text, &builder, nlohmann::detail::input_format_t::json, /*strict=*/true);
  if (!parsed) return Error(std::string(forecast_message::kNotJson), Error(builder.message()));
  return root;
}

const Json* member(const Json& object, const char* name) {
  if (!object.is_object()) return nullptr;
  const auto found = object.find(name);
  return found == object.end() ? nullptr : &*found;
}

// A JSON integer that is not negative (a fraction never is one, even 2.0).
std::optional<std::uint64_t> non_negative_integer(const Json* value) {
  if (value == nullptr) return std::nullopt;
  if (value->is_number_unsigned()) return value->get<std::uint64_t>();
  // Non-negative integers parse as unsigned; "-0" is the one signed integer that is not negative.
  if (value->is_number_integer() && value->get<std::int64_t>() == 0) return 0;
  return std::nullopt;
}

std::optional<std::uint8_t> first_probability(const Json& root) {
  const Json* hourly = member(root, "hourly");
  const Json* values = hourly != nullptr ? member(*hourly, "precipitation_probability") : nullptr;
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
  Result<Json> parsed = parse_json(body);
  if (!parsed) return parsed.error();
  const Json& root = *parsed;

  const Json* current = member(root, "current");
  if (current == nullptr) return Error(std::string(forecast_message::kNoCurrent));

  // A "current" that is not an object has no temperature either.
  const Json* temperature = member(*current, "temperature_2m");
  if (temperature == nullptr || !temperature->is_number()) {
    return Error(std::string(forecast_message::kNoTemperature));
  }

  const auto code = non_negative_integer(member(*current, "weather_code"));
  if (!code) return Error(std::string(forecast_message::kNoWeatherCode));

  WeatherReading reading;
  reading.temperature = temperature->get<double>();
  reading.weather_code = static_cast<std::uint16_t>(std::min<std::uint64_t>(*code, 65535));
  reading.precipitation_probability = first_probability(root);
  return reading;
}

}  // namespace vessa
