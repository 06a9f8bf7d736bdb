// The main thread's intake of finished weather fetches: a reading is taken in only while the
// accepted settings still ask for the place it was fetched for.
#include <gtest/gtest.h>

#include <limits>

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
  // A place is the request made for it: NaN is asked for like any number, and a change in the
  // fifth decimal asks for the same forecast.
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  Weather nowhere = tokyo;
  nowhere.latitude = kNaN;
  Weather next_door = tokyo;
  next_door.latitude = 35.68124;
  const WeatherReading rain{12.5, 61, 80};
  const struct {
    const char* name;
    Weather accepted;
    double latitude;  // asked for
    bool taken;
  } cases[] = {{"the place asked for", tokyo, 35.6812, true},    {"the place changed", osaka, 35.6812, false},
               {"weather off", off, 35.6812, false},             {"a latitude of NaN", nowhere, kNaN, true},
               {"the same request", next_door, 35.68121, true},  {"NaN no longer asked for", tokyo, kNaN, false}};
  for (const auto& c : cases) {
    WeatherState weather;
    ASSERT_TRUE(weather.channel.sender.send(WeatherMessage{c.latitude, 139.7671, rain}));
    EXPECT_EQ(drain(weather, c.accepted), c.taken) << c.name;
    EXPECT_EQ(weather.reading, c.taken ? std::optional<WeatherReading>(rain) : std::nullopt) << c.name;
  }
}

}  // namespace
}  // namespace vessa
