// The forecast request path and the reading taken from the service's answer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "weather/forecast.hpp"

namespace vessa {
namespace {

TEST(ForecastPath, TokyoWithFourDecimals) {
  EXPECT_EQ(forecast_path(35.68123, 139.7671),
            "/v1/forecast?latitude=35.6812&longitude=139.7671"
            "&current=temperature_2m,weather_code&hourly=precipitation_probability&forecast_hours=1");
}

TEST(ForecastPath, NegativeCoordinatesKeepTheirSign) {
  EXPECT_EQ(forecast_path(-33.86882, -151.20929),
            "/v1/forecast?latitude=-33.8688&longitude=-151.2093"
            "&current=temperature_2m,weather_code&hourly=precipitation_probability&forecast_hours=1");
}

TEST(ForecastPath, CoordinatesAreFixedPointWithoutExponentOrGrouping) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {35.68123, "35.6812"},
      {-0.1, "-0.1000"},
      {0.0, "0.0000"},
      {90.0, "90.0000"},
      {-180.0, "-180.0000"},
      {12.34567, "12.3457"},
      {12.34564, "12.3456"},
      {1e-9, "0.0000"},
      {1234567.0, "1234567.0000"},
      {1e20, "100000000000000000000.0000"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
  };
  for (const auto& c : cases) EXPECT_EQ(format_coordinate(c.value), c.text) << c.value;
}

TEST(ForecastPath, TheLargestDoubleIsWrittenInFull) {
  const std::string text = format_coordinate(-std::numeric_limits<double>::max());
  EXPECT_EQ(text.size(), 1u + 309u + 5u);  // sign, 309 digits, ".0000"
  EXPECT_EQ(text.substr(0, 6), "-17976");
  EXPECT_EQ(text.substr(text.size() - 5), ".0000");
}

TEST(ParseForecast, TheExampleAnswer) {
  const auto reading =
      parse_forecast(R"({"current":{"temperature_2m":12.3,"weather_code":3},"hourly":{"precipitation_probability":[20,40]}})");
  ASSERT_TRUE(reading.ok()) << reading.error().full_text();
  EXPECT_DOUBLE_EQ(reading->temperature, 12.3);
  EXPECT_EQ(reading->weather_code, 3);
  EXPECT_EQ(reading->precipitation_probability, std::optional<std::uint8_t>(20));
  EXPECT_EQ(condition_from_code(reading->weather_code), WeatherCondition::Cloudy);
}

TEST(ParseForecast, ARealAnswerWithItsOtherMembers) {
  const auto reading = parse_forecast(R"({
    "latitude": 35.7, "longitude": 139.6875, "generationtime_ms": 0.03, "utc_offset_seconds": 0,
    "timezone": "GMT", "elevation": 40.0,
    "current_units": {"time": "iso8601", "interval": "seconds", "temperature_2m": "°C", "weather_code": "wmo code"},
    "current": {"time": "2024-05-01T03:00", "interval": 900, "temperature_2m": 21.4, "weather_code": 61},
    "hourly_units": {"time": "iso8601", "precipitation_probability": "%"},
    "hourly": {"time": ["2024-05-01T03:00"], "precipitation_probability": [65]}
  })");
  ASSERT_TRUE(reading.ok()) << reading.error().full_text();
  EXPECT_EQ(*reading, (WeatherReading{21.4, 61, 65}));
}

TEST(ParseForecast, TemperatureMayBeAnyNumber) {
  const struct {
    const char* json;
    double temperature;
  } cases[] = {
      {"-3", -3.0},
      {"0", 0.0},
      {"25", 25.0},
      {"-0.5", -0.5},
      {"1e1", 10.0},
      {"18446744073709551615", 18446744073709551615.0},
      {"-9223372036854775808", -9223372036854775808.0},
  };
  for (const auto& c : cases) {
    const auto reading =
        parse_forecast(std::string(R"({"current":{"temperature_2m":)") + c.json + R"(,"weather_code":0}})");
    ASSERT_TRUE(reading.ok()) << c.json << ": " << reading.error().full_text();
    EXPECT_DOUBLE_EQ(reading->temperature, c.temperature) << c.json;
  }
}

TEST(ParseForecast, WeatherCodeMustBeANonNegativeInteger) {
  const struct {
    const char* json;
    std::optional<std::uint16_t> code;  // none: the weather_code message
  } cases[] = {
      {"0", 0},
      {"95", 95},
      {"65535", 65535},
      {"65536", 65535},
      {"70000", 65535},
      {"18446744073709551615", 65535},
      {"-0", 0},
      {"2.0", std::nullopt},
      {"3.5", std::nullopt},
      {"1e2", std::nullopt},
      {"-1", std::nullopt},
      {"\"3\"", std::nullopt},
      {"null", std::nullopt},
      {"true", std::nullopt},
      {"[3]", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto reading =
        parse_forecast(std::string(R"({"current":{"temperature_2m":1,"weather_code":)") + c.json + "}}");
    if (c.code) {
      ASSERT_TRUE(reading.ok()) << c.json << ": " << reading.error().full_text();
      EXPECT_EQ(reading->weather_code, *c.code) << c.json;
    } else {
      ASSERT_FALSE(reading.ok()) << c.json;
      EXPECT_EQ(reading.error(), Error("天気の応答に weather_code がありません")) << c.json;
    }
  }
}

TEST(ParseForecast, ALargeCodeIsStoredAs65535AndClassedCloudy) {
  const auto reading = parse_forecast(R"({"current":{"temperature_2m":5,"weather_code":70000}})");
  ASSERT_TRUE(reading.ok());
  EXPECT_EQ(reading->weather_code, 65535);
  EXPECT_EQ(condition_from_code(reading->weather_code), WeatherCondition::Cloudy);
}

TEST(ParseForecast, ProbabilityIsTheFirstHourlyValueOrAbsent) {
  const struct {
    const char* hourly;  // the "hourly" member, or empty for none
    std::optional<std::uint8_t> probability;
  } cases[] = {
      {R"("hourly":{"precipitation_probability":[20,40]})", 20},
      {R"("hourly":{"precipitation_probability":[0]})", 0},
      {R"("hourly":{"precipitation_probability":[100]})", 100},
      {R"("hourly":{"precipitation_probability":[130,0]})", 100},
      {R"("hourly":{"precipitation_probability":[18446744073709551615]})", 100},
      {R"("hourly":{"precipitation_probability":[]})", std::nullopt},
      {R"("hourly":{"precipitation_probability":[null]})", std::nullopt},
      {R"("hourly":{"precipitation_probability":[null,30]})", std::nullopt},
      {R"("hourly":{"precipitation_probability":[-5]})", std::nullopt},
      {R"("hourly":{"precipitation_probability":[12.5]})", std::nullopt},
      {R"("hourly":{"precipitation_probability":[20.0]})", std::nullopt},
      {R"("hourly":{"precipitation_probability":["20"]})", std::nullopt},
      {R"("hourly":{"precipitation_probability":20})", std::nullopt},
      {R"("hourly":{"precipitation_probability":{"0":20}})", std::nullopt},
      {R"("hourly":{})", std::nullopt},
      {R"("hourly":[20])", std::nullopt},
      {R"("hourly":null)", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    std::string body = R"({"current":{"temperature_2m":1,"weather_code":0})";
    if (*c.hourly != '\0') body += std::string(",") + c.hourly;
    body += "}";
    const auto reading = parse_forecast(body);
    ASSERT_TRUE(reading.ok()) << body << ": " << reading.error().full_text();
    EXPECT_EQ(reading->precipitation_probability, c.probability) << body;
  }
}

TEST(ParseForecast, EachMissingPieceHasItsMessage) {
  const struct {
    const char* body;
    const char* message;
  } cases[] = {
      {R"({})", "天気の応答に current がありません"},
      {R"({"hourly":{"precipitation_probability":[1]}})", "天気の応答に current がありません"},
      {R"([{"current":{"temperature_2m":1,"weather_code":0}}])", "天気の応答に current がありません"},
      {R"("current")", "天気の応答に current がありません"},
      {R"(null)", "天気の応答に current がありません"},
      {R"({"Current":{"temperature_2m":1,"weather_code":0}})", "天気の応答に current がありません"},
      // A "current" that is no object has no temperature_2m in it.
      {R"({"current":"sunny"})", "天気の応答に temperature_2m がありません"},
      {R"({"current":[12.3,3]})", "天気の応答に temperature_2m がありません"},
      {R"({"current":null})", "天気の応答に temperature_2m がありません"},
      {R"({"current":{}})", "天気の応答に temperature_2m がありません"},
      {R"({"current":{"weather_code":0}})", "天気の応答に temperature_2m がありません"},
      {R"({"current":{"temperature_2m":"12.3","weather_code":0}})", "天気の応答に temperature_2m がありません"},
      {R"({"current":{"temperature_2m":null,"weather_code":0}})", "天気の応答に temperature_2m がありません"},
      // The temperature is looked at first.
      {R"({"current":{"temperature_2m":true,"weather_code":-1}})", "天気の応答に temperature_2m がありません"},
      {R"({"current":{"temperature_2m":1}})", "天気の応答に weather_code がありません"},
  };
  for (const auto& c : cases) {
    const auto reading = parse_forecast(c.body);
    ASSERT_FALSE(reading.ok()) << c.body;
    EXPECT_EQ(reading.error(), Error(c.message)) << c.body;
  }
}

TEST(ParseForecast, MalformedJsonCarriesTheParsersMessage) {
  const char* bodies[] = {
      "",
      "{",
      R"({"current":{"temperature_2m":1,"weather_code":0}} x)",
      R"({"current":{"temperature_2m":1,"weather_code":0}}{})",
      R"({"current":{"temperature_2m":1,"weather_code":0},})",
      R"({'current':1})",
      "nan",
      "<html>Service Unavailable</html>",
  };
  for (const char* body : bodies) {
    const auto reading = parse_forecast(body);
    ASSERT_FALSE(reading.ok()) << body;
    EXPECT_EQ(reading.error().message(), "天気の応答を JSON として解釈できません") << body;
    ASSERT_NE(reading.error().cause(), nullptr) << body;
    EXPECT_EQ(reading.error().cause()->message().rfind("[json.exception.parse_error.", 0), 0u)
        << reading.error().cause()->message();
    EXPECT_EQ(reading.error().cause()->cause(), nullptr);
  }
}

TEST(ParseForecast, TheParsersMessageSaysWhere) {
  const auto reading = parse_forecast("{\"current\":}");
  ASSERT_FALSE(reading.ok());
  EXPECT_EQ(reading.error().full_text(),
            "天気の応答を JSON として解釈できません: [json.exception.parse_error.101] parse error at line 1, "
            "column 12: syntax error while parsing value - unexpected '}'; expected '[', '{', or a literal");
}

TEST(ParseForecast, DeepNestingIsJustAnotherAnswerWithoutCurrent) {
  const std::string deep = std::string(30000, '[') + std::string(30000, ']');
  const auto reading = parse_forecast(deep);
  ASSERT_FALSE(reading.ok());
  EXPECT_EQ(reading.error(), Error("天気の応答に current がありません"));
}

}  // namespace
}  // namespace vessa
