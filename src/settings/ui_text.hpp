#pragma once
// The user-interface text table: every text in Japanese and in English, reached by name.
// Every label the program shows comes from here; the language chosen at start-up (or after the
// settings are accepted) selects the table. Start-up failures and diagnostics are Japanese in
// both languages and do not come from here.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "weather/weather_reading.hpp"

namespace vessa {

enum class UiLanguage : unsigned char { Japanese, English };

// One name per entry; the values are the entries' numbers.
enum class TextId : std::uint8_t {
  // The product name and the tray menu.
  ProductName = 0, MenuShow = 1, MenuSettings = 2, MenuReattach = 3, MenuExit = 4,
  // The settings window; Rain and Temperature serve the tooltip too.
  SettingsTitle = 5, LampRead = 6, LampWrite = 7, LampBoth = 8, StartWithWindows = 9, Preview = 10, Rain = 11,
  Temperature = 12, TemperatureUnit = 13, Celsius = 14, Fahrenheit = 15, Scheme = 16, SchemeStandard = 17,
  SchemePresetFamily = 18, SchemeCustom = 19, Family = 20, FamilyMono = 21, FamilyBlue = 22, FamilyGreen = 23,
  FamilyYellow = 24, FamilyRed = 25, FamilyPink = 26, PageMonitors = 27, PageAppearance = 28, PageAbout = 29,
  PerItemSettings = 30, Bars = 31, Weather = 32, Version = 33, Author = 34, Website = 35, DataSources = 36,
  Language = 37, LanguageAutomatic = 38, SecondaryDisplays = 39, ItemsToDisplay = 40, DiskSelection = 41,
  Adapter = 42, All = 43, FullScale = 44, BarWidth = 45, BarAreaHeight = 46, UpdateInterval = 47, ShowTrack = 48,
  VerticalOrientation = 49, RotateRight = 50, RotateLeft = 51, ShowDiskLamp = 52, ShowWeatherIcon = 53, Area = 54,
  AreaAutomatic = 55, AreaManual = 56, PlaceName = 57, Search = 58, Matches = 59, Coordinates = 60, Locating = 61,
  NoMatches = 62, Ok = 63, Cancel = 64, UnitPixels = 65, Maximum = 66, UnitMilliseconds = 67, UnitMbps = 68,
  // The metrics' names, also the tooltip's, and its disk words.
  Cpu = 69, Memory = 70, Disk = 71, Network = 72, Receive = 73, Send = 74, Gpu = 75, Used = 76, Load = 77,
  // The warning when the bars cannot go into the taskbar.
  MessageTitle = 78, AttachFailed = 79,
  // Accepted settings that could not be saved.
  SaveFailed = 80, UnreadFileNotOverwritten = 81,
  // The tray icon's notice that a broken configuration file was replaced with the defaults:
  // the title, the words before the reader's first error (or instead of it, for a file that
  // is not text), and the words before the kept copy's path.
  ConfigResetTitle = 82, ConfigResetError = 83, ConfigResetNotText = 84, ConfigResetKept = 85,
};
inline constexpr std::size_t kTextCount = 86;

// The texts of one language.
class TextTable {
 public:
  constexpr explicit TextTable(UiLanguage language) noexcept : language_(language) {}
  [[nodiscard]] std::string_view text(TextId id) const noexcept;
  [[nodiscard]] UiLanguage language() const noexcept { return language_; }

 private:
  UiLanguage language_;
};

[[nodiscard]] const TextTable& ui_texts(UiLanguage language) noexcept;

// The condition's name as the tooltip shows it.
[[nodiscard]] std::string_view condition_name(WeatherCondition condition, UiLanguage language) noexcept;

// The words of the tooltip (render/tooltip.hpp) in the table's language.
struct TooltipTexts;
[[nodiscard]] TooltipTexts tooltip_texts(const TextTable& texts);

// The language names, the same in both tables.
inline constexpr std::string_view kJapaneseLanguageName = "日本語";
inline constexpr std::string_view kEnglishLanguageName = "English";

}  // namespace vessa
