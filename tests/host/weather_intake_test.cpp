// The main thread's intake of finished weather fetches: a reading is taken in only while the
// accepted settings still ask for the place it was fetched for.
#include <gtest/gtest.h>

#include "config/config.hpp"
#include "weather/weather_state.hpp"

namespace vessa {
namespace {

TEST(WeatherIntake, AFetchForAPlaceNoLongerAskedForIsDropped) {
  Weather tokyo;
  tokyo.enabled = true;
  tokyo.latitude = 35.6812;
  tokyo.longitude = 139.7671;
  Weather osaka = tokyo;
  osaka.latitude = 34.6937;
  osaka.longitude = 135.5023;
  Weather off = tokyo;
  off.enabled = false;
  const WeatherReading rain{12.5, 61, 80};
  const struct {
    const char* name;
    Weather accepted;
    bool taken;
  } cases[] = {{"the place asked for", tokyo, true}, {"the place changed", osaka, false}, {"weather off", off, false}};
  for (const auto& c : cases) {
    WeatherState weather;
    ASSERT_TRUE(weather.channel.sender.send(WeatherMessage{35.6812, 139.7671, rain}));
    EXPECT_EQ(drain(weather, c.accepted), c.taken) << c.name;
    EXPECT_EQ(weather.reading, c.taken ? std::optional<WeatherReading>(rain) : std::nullopt) << c.name;
  }
}

}  // namespace
}  // namespace vessa
