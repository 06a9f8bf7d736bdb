// The place search as plain values: the query as sent, the matches read from the answer,
// their labels, and the coordinates texts of the settings window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "config/config.hpp"
#include "weather/place_search.hpp"

namespace vessa {
namespace {

// A feature as the service writes it; an empty optional leaves the member out.
std::string feature(const std::string& name, const std::string& type, const std::string& coordinates = "[139.7671,35.6812]",
                    const std::string& state = R"("state":"Tokyo",)") {
  return R"({"type":"Feature","geometry":{"type":"Point","coordinates":)" + coordinates + R"(},"properties":{)" +
         state + R"("country":"Japan","name":")" + name + R"(","type":")" + type + R"("}})";
}

std::string answer(const std::vector<std::string>& features) {
  std::string text = R"({"type":"FeatureCollection","features":[)";
  for (std::size_t i = 0; i < features.size(); ++i) text += (i == 0 ? "" : ",") + features[i];
  return text + "]}";
}

std::vector<std::string> labels(const std::vector<PlaceCandidate>& candidates) {
  std::vector<std::string> out;
  for (const PlaceCandidate& c : candidates) out.push_back(candidate_label(c));
  return out;
}

TEST(PlaceQuery, TrimsUnicodeWhiteSpaceAtBothEndsOnly) {
  const struct {
    const char* typed;
    const char* trimmed;
  } cases[] = {
      {"  Tokyo  ", "Tokyo"},
      {"\t\r\nOsaka\v\f", "Osaka"},
      {"\u3000東京\u3000", "東京"},             // ideographic space
      {"\u00A0\u2003Paris\u202F\u205F", "Paris"},  // no-break, em, narrow no-break, math spaces
      {"\u0085Rome\u2028\u2029", "Rome"},
      {"New York", "New York"},                  // inner blanks stay
      {"São\u3000Paulo", "São\u3000Paulo"},
      {"\u200BZero\u200B", "\u200BZero\u200B"},  // a zero-width space is not white space
      {" \u3000 \t ", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(trim_place_query(c.typed), c.trimmed) << c.typed;
}

TEST(PlaceQuery, TheFieldKeepsSixtyThreeUnitsAndReplacesAnUnpairedSurrogate) {
  const std::u16string long_text(70, u'a');
  EXPECT_EQ(place_query_from_field(long_text), std::string(63, 'a'));
  // A pair cut in half by the limit.
  std::u16string cut(62, u'a');
  cut += u"\U0001F600";
  EXPECT_EQ(place_query_from_field(cut), std::string(62, 'a') + "\uFFFD");
  EXPECT_EQ(place_query_from_field(u"\xD800x"), "\uFFFDx");
  EXPECT_EQ(place_query_from_field(u"東京"), "東京");
}

TEST(PlaceQuery, PercentEncodesByteByByte) {
  const struct {
    const char* text;
    const char* encoded;
  } cases[] = {
      {"São Paulo", "S%C3%A3o%20Paulo"},
      {"a+b", "a%2Bb"},
      {"東", "%E6%9D%B1"},
      {"AZaz09-._~", "AZaz09-._~"},
      {"&=?#/%", "%26%3D%3F%23%2F%25"},
      {"\x7F\x01", "%7F%01"},
      {"\xFF", "%FF"},
  };
  for (const auto& c : cases) EXPECT_EQ(percent_encode(c.text), c.encoded) << c.text;
}

TEST(PlaceQuery, RequestPathNamesTheLanguageAndEightResults) {
  EXPECT_EQ(place_search_path("São Paulo", true), "/api/?q=S%C3%A3o%20Paulo&lang=en&limit=8");
  EXPECT_EQ(place_search_path("東京", false), "/api/?q=%E6%9D%B1%E4%BA%AC&lang=default&limit=8");
}

// The whole search with a stand-in for the network that records what it was asked.
struct RecordingGet {
  std::vector<std::string> requests;
  Result<std::string> reply = std::string(R"({"features":[]})");

  PlaceSearchGet function() {
    return [this](std::string_view host, std::string_view path) {
      requests.push_back(std::string(host) + std::string(path));
      return reply;
    };
  }
};

TEST(SearchPlaces, ABlankQueryHasNoMatchesAndSendsNothing) {
  for (const char* query : {"", "   ", "\u3000\t\u3000"}) {
    RecordingGet get;
    const auto found = search_places(query, true, get.function());
    ASSERT_TRUE(found.ok()) << query;
    EXPECT_TRUE(found->empty()) << query;
    EXPECT_TRUE(get.requests.empty()) << query;
  }
  // Twin: a real query is sent, trimmed, to the service's host.
  RecordingGet get;
  (void)search_places("\u3000 東京 ", false, get.function());
  EXPECT_EQ(get.requests, std::vector<std::string>{"photon.komoot.io/api/?q=%E6%9D%B1%E4%BA%AC&lang=default&limit=8"});
}

TEST(SearchPlaces, TransportAndJsonFailuresAreErrorsWithTheirCauses) {
  RecordingGet get;
  get.reply = Error("天気の応答を受け取れません", Error("0x80072EE2"));
  const auto failed = search_places("Tokyo", true, get.function());
  ASSERT_FALSE(failed.ok());
  EXPECT_EQ(failed.error().full_text(), "天気の応答を受け取れません: 0x80072EE2");

  get.reply = std::string("{\"features\":");
  const auto not_json = search_places("Tokyo", true, get.function());
  ASSERT_FALSE(not_json.ok());
  EXPECT_EQ(not_json.error().message(), "地名検索の応答を JSON として解釈できません");
  ASSERT_NE(not_json.error().cause(), nullptr);
  EXPECT_NE(not_json.error().cause()->message().find("parse error"), std::string::npos)
      << not_json.error().full_text();
}

TEST(ParsePlaceSearch, TheTokyoFeatureHasLongitudeFirst) {
  const auto found = parse_place_search(answer({feature("Tokyo", "city")}));
  ASSERT_TRUE(found.ok()) << found.error().full_text();
  ASSERT_EQ(found->size(), 1u);
  const PlaceCandidate& tokyo = found->front();
  EXPECT_EQ(candidate_label(tokyo), "Tokyo / Tokyo / Japan");
  EXPECT_EQ(tokyo.latitude, 35.6812);
  EXPECT_EQ(tokyo.longitude, 139.7671);
  EXPECT_EQ(tokyo.type, std::optional<std::string>("city"));
  EXPECT_EQ(coordinates_text(tokyo.latitude, tokyo.longitude), "35.6812, 139.7671");
}

TEST(ParsePlaceSearch, AreasHideStreetsAndHousesButHousesAloneAllStay) {
  std::vector<std::string> one_city_seven_houses;
  for (int i = 0; i < 7; ++i) one_city_seven_houses.push_back(feature("House " + std::to_string(i), "house"));
  one_city_seven_houses.insert(one_city_seven_houses.begin() + 3, feature("Tokyo", "city"));
  const auto areas = parse_place_search(answer(one_city_seven_houses));
  ASSERT_TRUE(areas.ok());
  EXPECT_EQ(labels(*areas), std::vector<std::string>{"Tokyo / Tokyo / Japan"});

  std::vector<std::string> eight_houses;
  for (int i = 0; i < 8; ++i) eight_houses.push_back(feature("House " + std::to_string(i), "house"));
  const auto houses = parse_place_search(answer(eight_houses));
  ASSERT_TRUE(houses.ok());
  ASSERT_EQ(houses->size(), 8u);
  EXPECT_EQ(candidate_label(houses->at(7)), "House 7 / Tokyo / Japan");

  // Every area type counts, in answer order; a type must match exactly.
  const auto mixed = parse_place_search(answer({feature("A", "district"), feature("B", "City"), feature("C", "county"),
                                                feature("D", "street"), feature("E", "state")}));
  ASSERT_TRUE(mixed.ok());
  EXPECT_EQ(labels(*mixed),
            (std::vector<std::string>{"A / Tokyo / Japan", "C / Tokyo / Japan", "E / Tokyo / Japan"}));
}

TEST(ParsePlaceSearch, FeaturesWithoutANameOrTwoNumbersAreSkipped) {
  const std::string kept = feature("Kept", "house");
  const std::string skipped[] = {
      feature("", "city"),                                   // empty name
      feature("One", "city", "[139.7]"),                     // one coordinate
      feature("Text", "city", R"(["139.7","35.6"])"),        // not numbers
      feature("Null", "city", "[139.7,null]"),
      feature("Object", "city", R"({"lon":139.7,"lat":35.6})"),
      R"({"geometry":{"coordinates":[1,2]},"properties":{"name":7,"type":"city"}})",  // name not a string
      R"({"geometry":{"coordinates":[1,2]},"properties":{"type":"city"}})",           // no name
      R"({"geometry":[1,2],"properties":{"name":"G","type":"city"}})",               // geometry not an object
      R"({"geometry":{"coordinates":[1,2]},"properties":"P"})",                      // properties not an object
      R"({"properties":{"name":"NoGeometry","type":"city"}})",
      R"(["not","an","object"])",
      "null",
  };
  std::vector<std::string> features{kept};
  features.insert(features.end(), std::begin(skipped), std::end(skipped));
  const auto found = parse_place_search(answer(features));
  ASSERT_TRUE(found.ok()) << found.error().full_text();
  // None of the skipped "city" features counts for the filter either: the house stays.
  EXPECT_EQ(labels(*found), std::vector<std::string>{"Kept / Tokyo / Japan"});
}

TEST(ParsePlaceSearch, AnyJsonNumberIsACoordinateAndExtraOnesAreIgnored) {
  const auto found = parse_place_search(answer({feature("Int", "city", "[139,35]"), feature("Neg", "city", "[-0.5,-33]"),
                                                feature("Exp", "city", "[1.5e2,3.5E1,12.0]")}));
  ASSERT_TRUE(found.ok());
  ASSERT_EQ(found->size(), 3u);
  EXPECT_EQ(coordinates_text(found->at(0).latitude, found->at(0).longitude), "35.0000, 139.0000");
  EXPECT_EQ(coordinates_text(found->at(1).latitude, found->at(1).longitude), "-33.0000, -0.5000");
  EXPECT_EQ(coordinates_text(found->at(2).latitude, found->at(2).longitude), "35.0000, 150.0000");
}

TEST(ParsePlaceSearch, LabelsLeaveOutEmptyAndMissingParts) {
  const auto found = parse_place_search(answer({
      feature("Chiyoda", "city", "[139.75,35.69]", R"("state":"",)"),
      feature("Nowhere", "city", "[0,0]", R"("state":5,)"),
      R"({"geometry":{"coordinates":[1,2]},"properties":{"name":"Alone","type":"city"}})",
      R"({"geometry":{"coordinates":[1,2]},"properties":{"name":"Springfield","state":"Illinois","country":"United States","type":"city"}})",
  }));
  ASSERT_TRUE(found.ok());
  EXPECT_EQ(labels(*found), (std::vector<std::string>{"Chiyoda / Japan", "Nowhere / Japan", "Alone",
                                                      "Springfield / Illinois / United States"}));
  EXPECT_FALSE(found->at(0).state.has_value());
}

TEST(ParsePlaceSearch, AnAnswerWithoutAFeaturesArrayHasNoMatches) {
  for (const char* body : {R"({})", R"({"features":{}})", R"({"features":"x"})", R"({"features":null})", "[]",
                           R"([{"features":[]}])", "42", R"("features")", R"({"features":[]})"}) {
    const auto found = parse_place_search(body);
    ASSERT_TRUE(found.ok()) << body;
    EXPECT_TRUE(found->empty()) << body;
  }
}

TEST(ParsePlaceSearch, MalformedJsonFailsWithTheParsersMessage) {
  for (const char* body : {"", "{", R"({"features":[]} x)", "{'features':[]}", R"({"features":[,]})"}) {
    const auto found = parse_place_search(body);
    ASSERT_FALSE(found.ok()) << body;
    EXPECT_EQ(found.error().message(), "地名検索の応答を JSON として解釈できません") << body;
    ASSERT_NE(found.error().cause(), nullptr) << body;
    EXPECT_FALSE(found.error().cause()->message().empty()) << body;
  }
}

TEST(DevicePosition, KeepsPlacesOnEarthAndShowsOthersInShortestForm) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double latitude;
    double longitude;
    const char* error;  // null: accepted
  } cases[] = {
      {35.6812, 139.7671, nullptr},
      {90.0, 180.0, nullptr},
      {-90.0, -180.0, nullptr},
      {0.0, -0.0, nullptr},
      {91.0, 0.5, "測位結果が座標として不正です: Coordinates { latitude: 91.0, longitude: 0.5 }"},
      {90.000001, 0.0, "測位結果が座標として不正です: Coordinates { latitude: 90.000001, longitude: 0.0 }"},
      {0.1, -180.5, "測位結果が座標として不正です: Coordinates { latitude: 0.1, longitude: -180.5 }"},
      {nan, 1.0, "測位結果が座標として不正です: Coordinates { latitude: nan, longitude: 1.0 }"},
      {1.0, -inf, "測位結果が座標として不正です: Coordinates { latitude: 1.0, longitude: -inf }"},
      {1e300, 0.0, "測位結果が座標として不正です: Coordinates { latitude: 1.0e+300, longitude: 0.0 }"},
  };
  for (const auto& c : cases) {
    const auto checked = checked_device_position(c.latitude, c.longitude);
    if (c.error == nullptr) {
      ASSERT_TRUE(checked.ok()) << c.latitude << ", " << c.longitude;
      EXPECT_EQ(checked->latitude, c.latitude);
      EXPECT_EQ(checked->longitude, c.longitude);
    } else {
      ASSERT_FALSE(checked.ok()) << c.error;
      EXPECT_EQ(checked.error().full_text(), c.error);
      EXPECT_EQ(checked.error().cause(), nullptr);
    }
  }
}

TEST(PlaceResults, WhatTheWindowShowsForEachOutcome) {
  const std::vector<PlaceCandidate> two = {{"Springfield", "Illinois", "United States", "city", 39.8, -89.65},
                                           {"Tokyo", std::nullopt, "Japan", "city", 35.6812, 139.7671}};
  const struct {
    const char* name;
    Result<std::vector<PlaceCandidate>> outcome;
    std::vector<std::string> lines;
  } searches[] = {
      {"matches", two, {"Springfield / Illinois / United States", "Tokyo / Japan"}},
      {"none", std::vector<PlaceCandidate>{}, {"No matches"}},
      {"error", Error("天気の応答を受け取れません", Error("timeout (0x80072EE2)")),
       {"天気の応答を受け取れません: timeout (0x80072EE2)"}},
  };
  for (const auto& c : searches) EXPECT_EQ(match_lines(c.outcome, "No matches"), c.lines) << c.name;

  EXPECT_EQ(location_text(Coordinates{35.68123, 139.76712}), "35.6812, 139.7671");
  EXPECT_EQ(location_text(Error("位置情報の利用許可を確認できません", Error("Class not registered (0x80040154)"))),
            "位置情報の利用許可を確認できません: Class not registered (0x80040154)");
  EXPECT_EQ(location_text(checked_device_position(91.0, 0.5)),
            "測位結果が座標として不正です: Coordinates { latitude: 91.0, longitude: 0.5 }");
}

TEST(PlaceResults, AMatchSetsCoordinatesAndNameButADevicePositionKeepsTheName) {
  Weather weather;
  weather.place_name = "Home";
  weather.temperature_unit = TemperatureUnit::Fahrenheit;
  Weather expected = weather;

  apply_position_to(weather, Coordinates{-33.8688, 151.2093});
  expected.latitude = -33.8688;
  expected.longitude = 151.2093;
  EXPECT_EQ(weather, expected);

  apply_candidate_to(weather, PlaceCandidate{"Tokyo", "Tokyo", "Japan", "city", 35.6812, 139.7671});
  expected.latitude = 35.6812;
  expected.longitude = 139.7671;
  expected.place_name = "Tokyo / Tokyo / Japan";
  EXPECT_EQ(weather, expected);
}

}  // namespace
}  // namespace vessa
