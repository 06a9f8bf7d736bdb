#pragma once
// One weather reading and the condition class derived from its weather code.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vessa {

struct WeatherReading {
  double temperature = 0.0;  // degrees Celsius, as delivered
  std::uint16_t weather_code = 0;  // WMO code; larger values are stored as 65535
  std::optional<std::uint8_t> precipitation_probability;  // 0..100

  friend bool operator==(const WeatherReading&, const WeatherReading&) = default;
};

// The icon classes, numbered as the icon renderer and the layout use them.
enum class WeatherCondition : std::uint8_t {
  Clear = 0,
  PartlyCloudy = 1,
  Cloudy = 2,
  Fog = 3,
  Drizzle = 4,
  Rain = 5,
  Snow = 6,
  Thunderstorm = 7,
};

inline constexpr std::size_t kWeatherConditionCount = 8;

// The class of a WMO weather code; every code not listed elsewhere is Cloudy.
[[nodiscard]] constexpr WeatherCondition condition_from_code(std::uint16_t code) noexcept {
  switch (code) {
    case 0: return WeatherCondition::Clear;
    case 1: case 2: return WeatherCondition::PartlyCloudy;
    case 45: case 48: return WeatherCondition::Fog;
    case 51: case 53: case 55: case 56: case 57: return WeatherCondition::Drizzle;
    case 61: case 63: case 65: case 66: case 67: case 80: case 81: case 82: return WeatherCondition::Rain;
    case 71: case 73: case 75: case 77: case 85: case 86: return WeatherCondition::Snow;
    case 95: case 96: case 99: return WeatherCondition::Thunderstorm;
    default: return WeatherCondition::Cloudy;
  }
}

}  // namespace vessa
