#pragma once
// Driving the real settings window from outside, as a user's clicks and keys would: opened
// from the tray menu, its controls reached by their identifiers.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "settings/ui_text.hpp"
#include "tray_support.hpp"

namespace vessa::test {

// Control identifiers of the settings window.
namespace control {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kLanguage = 100;
inline constexpr int kBarWidth = 103;
inline constexpr int kInterval = 104;
inline constexpr int kBandHeight = 105;
inline constexpr int kShowTrack = 108;
inline constexpr int kDiskLamp = 109;
inline constexpr int kWeather = 110;
inline constexpr int kFullScale = 111;
inline constexpr int kPlaceName = 114;
inline constexpr int kPreview = 118;
inline constexpr int kScheme = 119;
inline constexpr int kTemperatureUnit = 121;
inline constexpr int kStartWithWindows = 122;
inline constexpr int kDisplays = 126;
inline constexpr int kFirstItem = 200;  // cpu, memory, disk, net, gpu
inline constexpr int kGpuItem = 204;
inline constexpr int kFirstTab = 400;   // Monitors, Appearance, About
}  // namespace control

// Items of the tray menu, the separator counted.
inline constexpr std::size_t kSettingsItem = 1;
inline constexpr std::size_t kExitItem = 4;
inline constexpr std::size_t kMenuSeparator = 3;

// vessa.exe with its tray icon, driven through its menu.
struct SettingsVessa : RunningVessa {
  explicit SettingsVessa(const std::string& config = {}) : RunningVessa(config) {}
  explicit SettingsVessa(const VessaFolder& from) : RunningVessa(from, L"") {}

  // Opens the tray menu at the icon and clicks item `item` of a menu in `texts`' language.
  // Whether the menu opened.
  bool choose_from_menu(const TextTable& texts, std::size_t item) const;
  // "Settings..." from the tray menu; the settings window once it shows.
  std::optional<HWND> open_settings(const TextTable& texts) const;
  [[nodiscard]] std::vector<HWND> settings_windows() const { return find_windows(pid(), L"VessaSettingsWindow"); }
  bool settings_closed(std::chrono::milliseconds timeout = 5s) const;
};

// The tray menu as the program shows it in `texts`' language, Show checked, opened at the
// icon: a picture made once per language by the test process itself.
const MenuPicture& expected_tray_menu(const TextTable& texts);

// Messages a user's actions would cause, sent to control `id` of the settings window.
HWND control_of(HWND settings, int id);
void click_control(HWND settings, int id);                      // BM_CLICK
void choose_item(HWND settings, int id, int index);             // CB_SETCURSEL, then CBN_SELCHANGE
void type_text(HWND settings, int id, const std::wstring& text);  // WM_SETTEXT
// Empties the edit box, then types `text` into it one WM_CHAR at a time, as the keyboard does.
void type_keys(HWND settings, int id, const std::wstring& text);
bool is_checked(HWND settings, int id);
// Clicks page tab `page` (0-2) and lets the page redraw.
void show_page(HWND settings, int page);

// Names parameterised tests after their cases' `name`.
struct CaseName {
  template <typename Case>
  std::string operator()(const ::testing::TestParamInfo<Case>& test) const {
    return test.param.name;
  }
};

// Pixels of exactly `color` (0xRRGGBB) on the screen inside `window`'s rectangle.
std::size_t pixels_of(HWND window, std::uint32_t color);
// A menu's picture saved as a BMP in the artefact folder, for a look at a failure.
void save_picture(const MenuPicture& picture, const std::string& name);
// A picture of `window`'s rectangle from the screen, saved as a BMP in the artefact folder.
void save_picture(HWND window, const std::string& name);

}  // namespace vessa::test
