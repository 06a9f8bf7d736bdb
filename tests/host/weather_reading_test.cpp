// Weather codes and their condition classes.
#include <gtest/gtest.h>

#include "weather/weather_reading.hpp"

namespace vessa {
namespace {

TEST(WeatherCondition, EveryCodeClass) {
  const struct {
    WeatherCondition condition;
    std::vector<std::uint16_t> codes;
  } classes[] = {
      {WeatherCondition::Clear, {0}},
      {WeatherCondition::PartlyCloudy, {1, 2}},
      {WeatherCondition::Cloudy, {3, 4, 5, 44, 46, 47, 49, 50, 52, 54, 58, 60, 62, 64, 68, 70, 72, 76, 78, 79, 83,
                                  84, 87, 94, 97, 98, 100, 255, 65535}},
      {WeatherCondition::Fog, {45, 48}},
      {WeatherCondition::Drizzle, {51, 53, 55, 56, 57}},
      {WeatherCondition::Rain, {61, 63, 65, 66, 67, 80, 81, 82}},
      {WeatherCondition::Snow, {71, 73, 75, 77, 85, 86}},
      {WeatherCondition::Thunderstorm, {95, 96, 99}},
  };
  for (const auto& c : classes) {
    for (const std::uint16_t code : c.codes) EXPECT_EQ(condition_from_code(code), c.condition) << code;
  }
}

TEST(WeatherCondition, OnlyTheListedCodesLeaveCloudy) {
  int not_cloudy = 0;
  for (std::uint32_t code = 0; code <= 65535; ++code) {
    if (condition_from_code(static_cast<std::uint16_t>(code)) != WeatherCondition::Cloudy) ++not_cloudy;
  }
  EXPECT_EQ(not_cloudy, 1 + 2 + 2 + 5 + 8 + 6 + 3);
}

}  // namespace
}  // namespace vessa
