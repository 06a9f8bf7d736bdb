// The weather's place, chosen in the real settings window of the real vessa.exe: a search
// answered by this test's own HTTPS server (photon.komoot.io is 127.0.0.1 in the private
// network namespace of tests/win/https_namespace.sh), a search that is never answered, the
// device location, which Wine cannot give, and choices made while it is asked for.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "default_config_win.hpp"
#include "https_server_win.hpp"
#include "settings_support.hpp"

namespace vessa::test {
namespace {

constexpr int kAreaMode = 113;
constexpr int kSearch = 115;
constexpr int kMatches = 116;
constexpr int kCoordinates = 117;
constexpr int kWeatherPage = 1;

// Two cities and a house: only the cities are matches.
constexpr const char* kTwoTokyos = R"({"type":"FeatureCollection","features":[
{"type":"Feature","geometry":{"type":"Point","coordinates":[139.7671,35.6812]},
 "properties":{"name":"東京都","state":"東京都","country":"日本","type":"city"}},
{"type":"Feature","geometry":{"type":"Point","coordinates":[-95.2,32.1]},
 "properties":{"name":"Tokyo","state":"Texas","country":"United States","type":"city"}},
{"type":"Feature","geometry":{"type":"Point","coordinates":[139.7,35.6]},
 "properties":{"name":"Tokyo House","country":"日本","type":"house"}}]})";

// Every accepted configuration holds the bar area to Wine's 20-pixel taskbar.
constexpr std::pair<std::string_view, std::string_view> kBandHeldToWinesTaskbar{"band_height = 32",
                                                                                "band_height = 14"};

// The defaults in Japanese, whose searches ask for the places' local names.
std::string japanese_config() { return with_lines(default_config_text(), {{"language = \"auto\"", "language = \"ja\""}}); }

std::optional<LRESULT> send_within(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                   std::chrono::milliseconds timeout) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, static_cast<UINT>(timeout.count()),
                          &result) == 0) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

// A control's text as its window procedure gives it.
std::string control_text(HWND settings, int id) {
  HWND control = control_of(settings, id);
  const auto length = send_within(control, WM_GETTEXTLENGTH, 0, 0, 5s);
  if (!length || *length < 0) return "(no answer)";
  std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
  const auto copied = send_within(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), 5s);
  text.resize(copied ? static_cast<std::size_t>(std::max<LRESULT>(*copied, 0)) : 0);
  return utf8(text);
}

// The lines of a combo box's list.
std::vector<std::string> combo_lines(HWND settings, int id) {
  HWND combo = control_of(settings, id);
  std::vector<std::string> lines;
  const LRESULT count = send_within(combo, CB_GETCOUNT, 0, 0, 5s).value_or(0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = send_within(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, 5s).value_or(0);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    send_within(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()), 5s);
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
    lines.push_back(utf8(text));
  }
  return lines;
}

// Whether the program's thread still serves its windows and its tray menu: the settings
// window and the bar answer at once, and the tray menu opens and closes again.
void expect_responsive(const SettingsVessa& vessa, HWND settings) {
  EXPECT_TRUE(send_within(settings, WM_NULL, 0, 0, 1s).has_value()) << "the settings window does not answer";
  EXPECT_TRUE(send_within(vessa.bar, WM_NULL, 0, 0, 1s).has_value()) << "the bar window does not answer";
  move_pointer(kFirstTrayIconCentre.x, kFirstTrayIconCentre.y);
  post_tray_event(vessa.bar, WM_CONTEXTMENU, kFirstTrayIconCentre);
  EXPECT_TRUE(wait_for_menu(vessa.pid(), 3s).has_value()) << "the tray menu does not open";
  PostMessageW(vessa.bar, WM_CANCELMODE, 0, 0);
  EXPECT_TRUE(wait_for_no_menu(vessa.pid()));
}

class Shell_Places : public HttpsServerTest {
 protected:
  void SetUp() override {
    HttpsServerTest::SetUp();
    server_.reset("places");
  }
};

TEST_F(Shell_Places, ASearchFillsTheMatchesAndOkSavesTheChosenPlace) {
  server_.answer("places", 200, kTwoTokyos);
  SettingsVessa vessa(japanese_config());
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(ui_texts(UiLanguage::Japanese));
  ASSERT_TRUE(settings.has_value());
  show_page(*settings, kWeatherPage);
  choose_item(*settings, kAreaMode, 1);  // manual: by name
  type_text(*settings, control::kPlaceName, L"\u3000東京 ");
  click_control(*settings, kSearch);

  const std::vector<std::string> matches{"東京都 / 東京都 / 日本", "Tokyo / Texas / United States"};
  EXPECT_TRUE(wait_until([&] { return combo_lines(*settings, kMatches) == matches; }, 15s))
      << ::testing::PrintToString(combo_lines(*settings, kMatches));
  EXPECT_EQ(server_.requests("/api/"),
            std::vector<std::string>{"/api/?q=%E6%9D%B1%E4%BA%AC&lang=default&limit=8\t"
                                     "VESSA/1.5.0 (+https://github.com/vessa-monitor/vessa)"});
  // The first match is taken at once.
  EXPECT_EQ(control_text(*settings, kCoordinates), "35.6812, 139.7671");
  EXPECT_EQ(control_text(*settings, control::kPlaceName), "東京都 / 東京都 / 日本");

  choose_item(*settings, kMatches, 1);
  EXPECT_EQ(control_text(*settings, kCoordinates), "32.1000, -95.2000");
  EXPECT_EQ(control_text(*settings, control::kPlaceName), "Tokyo / Texas / United States");
  click_control(*settings, control::kOk);
  ASSERT_TRUE(vessa.settings_closed());

  const std::string expected = with_lines(japanese_config(), {kBandHeldToWinesTaskbar,
                                                              {"location_mode = \"auto\"", "location_mode = \"manual\""},
                                                              {"place_name = \"\"",
                                                               "place_name = \"Tokyo / Texas / United States\"\n"
                                                               "latitude = 32.1\n"
                                                               "longitude = -95.2"}});
  EXPECT_TRUE(wait_until([&] { return vessa.folder.read_config() == expected; }, 5s))
      << vessa.folder.read_config().value_or("(no file)");
  EXPECT_TRUE(vessa.process->running());
}

TEST_F(Shell_Places, ASearchNeverAnsweredHoldsNothingUpAndTheProgramStillEnds) {
  server_.hang("places");
  SettingsVessa vessa(default_config_text());
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  show_page(*settings, kWeatherPage);
  type_text(*settings, control::kPlaceName, L"Tokyo");
  click_control(*settings, kSearch);
  ASSERT_TRUE(wait_until([&] { return !server_.requests("/api/").empty(); }, 10s)) << "the search was not sent";

  for (int round = 0; round < 3; ++round) {
    expect_responsive(vessa, *settings);
    Sleep(500);
  }
  EXPECT_EQ(combo_lines(*settings, kMatches), std::vector<std::string>{}) << "a result while the server says nothing";

  click_control(*settings, control::kCancel);
  ASSERT_TRUE(vessa.settings_closed());
  ASSERT_TRUE(vessa.choose_from_menu(auto_texts(), kExitItem)) << "no tray menu after the window closed";
  EXPECT_EQ(vessa.process->wait(5s), std::optional<DWORD>(0)) << "the program did not end while the search hangs";
  EXPECT_EQ(vessa.folder.read_config(), std::optional<std::string>(default_config_text()));
}

// Manual mode or a search chosen after the automatic entry ends the device location: whether
// its (failed) answer came or not, the coordinates field shows the working copy's place.
TEST_F(Shell_Places, ManualModeOrASearchAfterTheAutomaticEntryShowsTheWorkingPlace) {
  server_.answer("places", 200, R"({"type":"FeatureCollection","features":[]})");
  SettingsVessa vessa(with_lines(japanese_config(), {{"location_mode = \"auto\"", "location_mode = \"manual\""},
                                                     {"place_name = \"\"", "place_name = \"\"\nlatitude = 35.6812\n"
                                                                           "longitude = 139.7671"}}));
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(ui_texts(UiLanguage::Japanese));
  ASSERT_TRUE(settings.has_value());
  show_page(*settings, kWeatherPage);
  const std::string working = "35.6812, 139.7671";
  const auto shows_working = [&] { return control_text(*settings, kCoordinates) == working; };

  choose_item(*settings, kAreaMode, 0);
  choose_item(*settings, kAreaMode, 1);
  EXPECT_TRUE(wait_until(shows_working, 5s)) << control_text(*settings, kCoordinates);
  EXPECT_FALSE(wait_until([&] { return !shows_working(); }, 2s)) << "a dropped location still answered";

  choose_item(*settings, kAreaMode, 0);
  type_text(*settings, control::kPlaceName, L"どこか");
  click_control(*settings, kSearch);
  EXPECT_TRUE(wait_until([&] { return combo_lines(*settings, kMatches) == std::vector<std::string>{"見つかりませんでした"}; },
                         15s));
  EXPECT_TRUE(wait_until(shows_working, 5s)) << control_text(*settings, kCoordinates);

  click_control(*settings, control::kCancel);
  ASSERT_TRUE(vessa.settings_closed());
  ASSERT_TRUE(vessa.choose_from_menu(ui_texts(UiLanguage::Japanese), kExitItem));
  EXPECT_EQ(vessa.process->wait(5s), std::optional<DWORD>(0));
}

// Wine has no Windows location service: the request fails for real, with its cause. It is asked
// for when the automatic area is chosen, and when "Show weather icon" is ticked while that area
// is chosen and no place is set yet (OK would otherwise save a weather icon with nothing to fetch).
struct LocateCase {
  const char* name;
  std::vector<std::pair<std::string_view, std::string_view>> config;  // lines changed from the defaults
  std::string shown_before;                                           // in the coordinates field
  int control;                                                        // chosen (the area's first entry) or clicked
  friend void PrintTo(const LocateCase& c, std::ostream* out) { *out << c.name; }
};

class Shell_DeviceLocation : public Shell_Places, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(Shell_DeviceLocation, FailsWithItsCauseAndTheProgramGoesOn) {
  const LocateCase& c = GetParam();
  SettingsVessa vessa(with_lines(default_config_text(), c.config));
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  show_page(*settings, kWeatherPage);
  ASSERT_EQ(control_text(*settings, kCoordinates), c.shown_before);
  if (c.control == kAreaMode) {
    choose_item(*settings, kAreaMode, 0);  // automatic: the device's location
  } else {
    click_control(*settings, c.control);
  }

  // Which step fails depends on the Wine: every failure of the location speaks of the location
  // permission ("位置情報"), the positioning ("測位") or the coordinates ("座標").
  const auto is_location_failure = [](const std::string& text) {
    return text.starts_with("位置情報") || text.starts_with("測位") || text.starts_with("座標");
  };
  std::string shown;
  EXPECT_TRUE(wait_until([&] {
    shown = control_text(*settings, kCoordinates);
    return is_location_failure(shown);
  }, 30s)) << shown;
  expect_responsive(vessa, *settings);

  click_control(*settings, control::kCancel);
  ASSERT_TRUE(vessa.settings_closed());
  EXPECT_TRUE(vessa.process->running());
  ASSERT_TRUE(vessa.choose_from_menu(auto_texts(), kExitItem));
  EXPECT_EQ(vessa.process->wait(5s), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(
    Shell_Ways, Shell_DeviceLocation,
    ::testing::Values(LocateCase{"ChoosingAutomatic",
                                 {{"location_mode = \"auto\"", "location_mode = \"manual\""},
                                  {"place_name = \"\"", "place_name = \"\"\nlatitude = 35.6812\nlongitude = 139.7671"}},
                                 "35.6812, 139.7671",
                                 kAreaMode},
                      LocateCase{"TickingTheWeatherIconWithNoPlace", {}, "", control::kWeather}),
    CaseName());

}  // namespace
}  // namespace vessa::test
