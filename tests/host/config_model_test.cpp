#include <gtest/gtest.h>

#include <cmath>

#include "config/config.hpp"
#include "config/rgb.hpp"
#include "settings/ui_text.hpp"

namespace vessa {
namespace {

template <typename Enum>
std::vector<std::string_view> texts_in_order() {
  std::vector<std::string_view> out;
  for (std::size_t i = 0; i < enum_count<Enum>; ++i) out.push_back(enum_text(static_cast<Enum>(i)));
  return out;
}

TEST(ConfigEnums, TextFormsInNumericOrder) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(texts_in_order<Language>(), (V{"auto", "ja", "en"}));
  EXPECT_EQ(texts_in_order<Displays>(), (V{"primary", "all"}));
  EXPECT_EQ(texts_in_order<AttachMode>(), (V{"child", "overlay", "tray_only"}));
  EXPECT_EQ(texts_in_order<Anchor>(), (V{"left", "right", "tray_left"}));
  EXPECT_EQ(texts_in_order<VerticalRotation>(), (V{"clockwise", "counter_clockwise"}));
  EXPECT_EQ(texts_in_order<ColorScheme>(), (V{"standard", "family", "custom"}));
  EXPECT_EQ(texts_in_order<ColorFamily>(), (V{"mono", "red", "yellow", "green", "blue", "pink"}));
  EXPECT_EQ(texts_in_order<MetricKind>(), (V{"cpu", "memory", "disk", "net", "gpu"}));
  EXPECT_EQ(texts_in_order<LocationMode>(), (V{"auto", "manual"}));
  EXPECT_EQ(texts_in_order<TemperatureUnit>(), (V{"celsius", "fahrenheit"}));
}

TEST(ConfigEnums, ParsingIsExact) {
  EXPECT_EQ(enum_from_text<AttachMode>("tray_only"), AttachMode::TrayOnly);
  EXPECT_EQ(enum_from_text<Language>("en"), Language::En);
  EXPECT_FALSE(enum_from_text<Language>("EN").has_value());
  EXPECT_FALSE(enum_from_text<Language>(" en").has_value());
  EXPECT_FALSE(enum_from_text<Language>("").has_value());
  EXPECT_EQ(enum_text(static_cast<Language>(7)), "");
}

TEST(ConfigModel, IsAPlainValue) {
  Config original;
  original.metrics.disk_instances = {"C:"};
  Config copy = original;
  copy.metrics.disk_instances.push_back("D:");
  copy.weather.latitude = 1.0;
  EXPECT_EQ(original.metrics.disk_instances.size(), 1u);
  EXPECT_FALSE(original.weather.latitude.has_value());
  EXPECT_NE(copy, original);
  copy = original;
  EXPECT_EQ(copy, original);
}

TEST(ConfigModel, NaNNeverEquals) {
  Config a;
  a.metrics.network_scale_mbps = std::nan("");
  const Config b = a;
  EXPECT_NE(a, b);
}

TEST(ConfigModel, WeatherNeedsBothCoordinates) {
  Weather weather;
  weather.enabled = true;
  weather.latitude = 35.0;
  EXPECT_FALSE(weather_fetch_configured(weather));
  weather.longitude = 139.0;
  EXPECT_TRUE(weather_fetch_configured(weather));
  weather.enabled = false;
  EXPECT_FALSE(weather_fetch_configured(weather));
}

TEST(Rgb, TextFormIsUpperCaseHex) {
  EXPECT_EQ(format_color(Rgb{30, 144, 255}), "#1E90FF");
  EXPECT_EQ(format_color(rgb_hex(0x000000)), "#000000");
  EXPECT_EQ(rgb_hex(0xA05FC0), (Rgb{0xA0, 0x5F, 0xC0}));
}

TEST(UiText, BothTablesHaveEightyEntriesIndexedAlike) {
  const auto& ja = ui_texts(UiLanguage::Japanese);
  const auto& en = ui_texts(UiLanguage::English);
  EXPECT_EQ(ja.text(TextId::ProductName), "VESSA");
  EXPECT_EQ(en.text(TextId::MenuShow), "Show");
  EXPECT_EQ(ja.text(TextId::MenuShow), "表示");
  EXPECT_EQ(en.text(TextId::MenuSettings), "Settings...");
  EXPECT_EQ(ja.text(TextId::MenuReattach), "タスクバーに貼り直す");
  EXPECT_EQ(en.text(TextId::MenuExit), "Exit");
  EXPECT_EQ(ja.text(TextId::LampRead), "\u3000読込");  // one ideographic space
  EXPECT_EQ(en.text(TextId::LampRead), "  Read");      // two blanks
  EXPECT_EQ(ja.text(TextId::DataSources), "天気: Open-Meteo / 地名検索: Photon (OpenStreetMap)");
  EXPECT_EQ(en.text(TextId::RotateRight), "Rotate right (top to bottom)");
  EXPECT_EQ(ja.text(TextId::AttachFailed), "タスクバーへの表示に失敗しました。トレイ常駐のみで動作します。");
  EXPECT_EQ(en.text(TextId::AttachFailed), "Could not attach to the taskbar. Running in the tray only.");
  EXPECT_EQ(en.text(TextId::MessageTitle), "VESSA");
  for (std::size_t i = 0; i < kTextCount; ++i) {
    EXPECT_FALSE(ja.text(static_cast<TextId>(i)).empty()) << i;
    EXPECT_FALSE(en.text(static_cast<TextId>(i)).empty()) << i;
  }
  EXPECT_EQ(kJapaneseLanguageName, "日本語");
  EXPECT_EQ(kEnglishLanguageName, "English");
}

TEST(WeatherCondition, NamesInBothLanguages) {
  const struct {
    WeatherCondition condition;
    const char* japanese;
    const char* english;
  } names[] = {
      {WeatherCondition::Clear, "晴れ", "Clear"},
      {WeatherCondition::PartlyCloudy, "晴れ時々くもり", "Partly cloudy"},
      {WeatherCondition::Cloudy, "くもり", "Cloudy"},
      {WeatherCondition::Fog, "霧", "Fog"},
      {WeatherCondition::Drizzle, "小雨", "Drizzle"},
      {WeatherCondition::Rain, "雨", "Rain"},
      {WeatherCondition::Snow, "雪", "Snow"},
      {WeatherCondition::Thunderstorm, "雷雨", "Thunderstorm"},
  };
  for (const auto& n : names) {
    EXPECT_EQ(condition_name(n.condition, UiLanguage::Japanese), n.japanese);
    EXPECT_EQ(condition_name(n.condition, UiLanguage::English), n.english);
  }
  EXPECT_EQ(condition_name(static_cast<WeatherCondition>(8), UiLanguage::English), "");
}

}  // namespace
}  // namespace vessa
