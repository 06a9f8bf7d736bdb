#include <gtest/gtest.h>

#include "app/command_line.hpp"
#include "app/startup_rules.hpp"
#include "config/config.hpp"
#include "settings/ui_text.hpp"

namespace vessa {
namespace {

TEST(CommandLine, SplitsByTheWindowsRules) {
  const struct {
    std::u16string line;
    std::vector<std::u16string> arguments;
  } cases[] = {
      {u"vessa.exe", {u"vessa.exe"}},
      {u"\"C:\\Program Files\\vessa.exe\" --debug", {u"C:\\Program Files\\vessa.exe", u"--debug"}},
      {u"C:\\a\\vessa.exe  a\tb ", {u"C:\\a\\vessa.exe", u"a", u"b"}},
      {u"v \"a b\" c", {u"v", u"a b", u"c"}},
      {u"v a\\\\\\\"b", {u"v", u"a\\\"b"}},       // 3 backslashes + quote: one backslash, literal quote
      {u"v a\\\\\"b c\"", {u"v", u"a\\b c"}},     // 2 backslashes + quote: one backslash, quote groups
      {u"v a\\b\\\\c", {u"v", u"a\\b\\\\c"}},       // backslashes not before a quote stay
      {u"v \"a\"\"b\"", {u"v", u"a\"b"}},          // "" inside quotes is a literal quote
      {u"v \"\"", {u"v", u""}},
  };
  for (const auto& c : cases) EXPECT_EQ(split_command_line(c.line), c.arguments);
}

TEST(CommandLine, DebugSwitchIsExactAndCaseSensitive) {
  EXPECT_TRUE(has_debug_switch(split_command_line(u"vessa.exe --debug")));
  EXPECT_TRUE(has_debug_switch(split_command_line(u"vessa.exe x --debug y")));
  EXPECT_TRUE(has_debug_switch(split_command_line(u"vessa.exe \"--debug\"")));
  EXPECT_FALSE(has_debug_switch(split_command_line(u"vessa.exe --DEBUG")));
  EXPECT_FALSE(has_debug_switch(split_command_line(u"vessa.exe --debugx")));
  EXPECT_FALSE(has_debug_switch(split_command_line(u"vessa.exe -debug")));
  // The program name itself is not an argument.
  EXPECT_FALSE(has_debug_switch(split_command_line(u"--debug")));
}

TEST(TimerPeriods, UpdateHasA100msFloorAndReattachZeroMeansNone) {
  Config config;
  EXPECT_EQ(timer_periods(config), (TimerPeriods{2000, 5000, 0}));
  config.general.update_interval_ms = 50;
  config.behavior.reattach_check_ms = 0;
  EXPECT_EQ(timer_periods(config), (TimerPeriods{100, 0, 0}));
  config.general.update_interval_ms = 100;
  EXPECT_EQ(timer_periods(config).update_ms, 100u);
}

TEST(TimerPeriods, WeatherNeedsEnabledAndBothCoordinates) {
  Config config;
  config.weather.enabled = true;
  EXPECT_EQ(timer_periods(config).weather_ms, 0u);
  config.weather.latitude = 35.0;
  EXPECT_EQ(timer_periods(config).weather_ms, 0u);
  config.weather.longitude = 139.0;
  EXPECT_EQ(timer_periods(config).weather_ms, 600000u);
  config.weather.update_interval_minutes = 0;
  EXPECT_EQ(timer_periods(config).weather_ms, 60000u);
  config.weather.update_interval_minutes = 71582;  // 71582 min = 4294920000 ms, still fits
  EXPECT_EQ(timer_periods(config).weather_ms, 4294920000u);
  config.weather.update_interval_minutes = 71583;
  EXPECT_EQ(timer_periods(config).weather_ms, 4294967295u);
  config.weather.update_interval_minutes = 0xFFFFFFFFu;
  EXPECT_EQ(timer_periods(config).weather_ms, 4294967295u);
  config.weather.enabled = false;
  EXPECT_EQ(timer_periods(config).weather_ms, 0u);
}

// Start-up (nothing running yet) and accepted settings go through the same changes: the
// weather timer comes, takes a new period and goes with the settings.
TEST(TimerPeriods, ChangesTakeTheRunningTimersToTheConfiguredOnes) {
  Config with_weather;
  with_weather.weather.enabled = true;
  with_weather.weather.latitude = 35.0;
  with_weather.weather.longitude = 139.0;
  Config every_half_hour = with_weather;
  every_half_hour.weather.update_interval_minutes = 30;
  Config faster = with_weather;
  faster.general.update_interval_ms = 500;
  const TimerPeriods plain{2000, 5000, 0};
  const TimerPeriods weather{2000, 5000, 600000};
  const struct {
    const char* name;
    TimerPeriods running;
    Config config;
    std::vector<TimerChange> changes;
    bool resumed = false;  // back from sleep
  } cases[] = {
      {"start-up", {}, Config{}, {{kUpdateTimer, 2000}, {kReattachTimer, 5000}}},
      {"start-up with weather",
       {},
       with_weather,
       {{kUpdateTimer, 2000}, {kReattachTimer, 5000}, {kWeatherTimer, 600000}}},
      {"nothing changed", weather, with_weather, {}},
      {"weather turned on", plain, with_weather, {{kWeatherTimer, 600000}}},
      {"a new weather interval", weather, every_half_hour, {{kWeatherTimer, 1800000}}},
      {"weather turned off", weather, Config{}, {{kWeatherTimer, 0}}},
      {"a new update interval", weather, faster, {{kUpdateTimer, 500}}},
      {"resumed: the weather once more", weather, with_weather, {{kResumeWeatherTimer, 30000}}, true},
      {"resumed without weather", plain, Config{}, {}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(timer_changes(c.running, c.config, c.resumed), c.changes) << c.name;
}

TEST(AttachOrder, FollowsModeAndFallback) {
  using enum AttachMode;
  const struct {
    AttachMode configured;
    bool fallback;
    std::vector<AttachMode> order;
  } cases[] = {
      {Child, true, {Child, Overlay, TrayOnly}},
      {Overlay, true, {Overlay, TrayOnly}},
      {TrayOnly, true, {TrayOnly, TrayOnly}},
      {Child, false, {Child, TrayOnly}},
      {Overlay, false, {Overlay, TrayOnly}},
      {TrayOnly, false, {TrayOnly, TrayOnly}},
  };
  for (const auto& c : cases) {
    const AttachOrder order = attachment_order(c.configured, c.fallback);
    EXPECT_EQ(std::vector<AttachMode>(order.begin(), order.end()), c.order);
  }
  EXPECT_EQ(attach_mode_debug_name(Child), "Child");
  EXPECT_EQ(attach_mode_debug_name(Overlay), "Overlay");
  EXPECT_EQ(attach_mode_debug_name(TrayOnly), "TrayOnly");
}

TEST(UiLanguage, AutoFollowsThePrimaryLanguage) {
  EXPECT_EQ(resolve_ui_language(Language::Ja, 0x0409), UiLanguage::Japanese);
  EXPECT_EQ(resolve_ui_language(Language::En, 0x0411), UiLanguage::English);
  EXPECT_EQ(resolve_ui_language(Language::Auto, 0x0411), UiLanguage::Japanese);  // ja-JP
  EXPECT_EQ(resolve_ui_language(Language::Auto, 0x0409), UiLanguage::English);
  EXPECT_EQ(resolve_ui_language(Language::Auto, 0x0011), UiLanguage::Japanese);  // neutral Japanese
  EXPECT_EQ(resolve_ui_language(Language::Auto, 0x0C11), UiLanguage::Japanese);  // any sublanguage
  EXPECT_EQ(resolve_ui_language(Language::Auto, 0x0412), UiLanguage::English);   // Korean
}

}  // namespace
}  // namespace vessa
