// The weather of the real vessa.exe: the forecast host is this test's own HTTPS server (the
// test runs in a private network and mount namespace where api.open-meteo.com is 127.0.0.1;
// see tests/win/https_namespace.sh), so the whole path runs for real: worker thread, WinHTTP,
// parsing, the channel, the tick that takes the result in, and the icon on the bar.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup_rules.hpp"
#include "harness_win.hpp"
#include "https_server_win.hpp"
#include "pointer_win.hpp"
#include "render/canvas.hpp"
#include "render/weather_icon.hpp"

namespace vessa::test {
namespace {

constexpr std::uint8_t kClear = 0;
constexpr std::uint8_t kRain = 5;
constexpr Rgb kIconColor = rgb_hex(0xE8E8E8);  // weather.icon_color's default
constexpr Rgb kBackground = rgb_hex(0x202020);  // appearance.background's default

constexpr const char* kForecastPath =
    "/v1/forecast?latitude=35.6812&longitude=139.7671"
    "&current=temperature_2m,weather_code&hourly=precipitation_probability&forecast_hours=1";

constexpr const char* kConfig = R"([general]
update_interval_ms = 200

[weather]
enabled = true
latitude = 35.68123
longitude = 139.7671
)";

std::string forecast_json(int code) {
  return R"({"current":{"temperature_2m":21.5,"weather_code":)" + std::to_string(code) +
         R"(},"hourly":{"precipitation_probability":[10]}})";
}

struct IconPlace {
  int x = 0;
  int y = 0;
  int side = 0;
};

// What the screen shows for the icon of `kind` in a square of `side` over the bar's background:
// the premultiplied pixels as they are, except that alpha 1 (the background alone) shows black.
std::vector<std::uint32_t> expected_icon(std::uint8_t kind, int side) {
  PixelBuffer buffer(side, side);
  Canvas canvas = buffer.canvas();
  std::fill(canvas.pixels, canvas.pixels + static_cast<std::size_t>(side) * static_cast<std::size_t>(side),
            premultiply(kBackground.r, kBackground.g, kBackground.b, 1));
  draw_weather_icon(canvas, IconBox{0, 0, side, side}, kIconColor, kind);
  std::vector<std::uint32_t> screen;
  for (const std::uint32_t pixel : buffer.pixels()) screen.push_back((pixel >> 24) <= 1 ? 0u : (pixel & 0xFFFFFFu));
  return screen;
}

// Where the screen shows exactly the icon of `kind` inside `area`, if anywhere.
std::optional<IconPlace> find_icon(const ScreenShot& shot, const RECT& area, std::uint8_t kind) {
  const int height = area.bottom - area.top;
  for (int side = std::min(height, 64); side >= 6; --side) {
    const std::vector<std::uint32_t> icon = expected_icon(kind, side);
    for (int y = area.top; y + side <= area.bottom; ++y) {
      for (int x = area.left; x + side <= std::min<int>(area.right, area.left + 2 * height); ++x) {
        if (x < 0 || y < 0 || x + side > shot.width || y + side > shot.height) continue;
        bool same = true;
        for (int py = 0; py < side && same; ++py) {
          for (int px = 0; px < side; ++px) {
            if (shot.at(x + px, y + py) != icon[static_cast<std::size_t>(py * side + px)]) {
              same = false;
              break;
            }
          }
        }
        if (same) return IconPlace{x, y, side};
      }
    }
  }
  return std::nullopt;
}

std::optional<IconPlace> wait_for_icon(HWND bar, std::uint8_t kind, std::chrono::milliseconds timeout = 15s) {
  std::optional<IconPlace> place;
  wait_until(
      [&] {
        const WindowInfo info = describe_window(bar);
        place = find_icon(capture_screen(), info.rect, kind);
        return place.has_value();
      },
      timeout);
  return place;
}

// Hovers the middle of the bar and returns the tooltip's rectangle once it shows.
std::optional<RECT> hover_tooltip(DWORD pid, HWND bar) {
  move_pointer(100, 100);
  const RECT rect = describe_window(bar).rect;
  move_pointer((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  std::optional<RECT> tooltip;
  wait_until([&] {
    for (HWND window : find_windows(pid, L"VessaTooltipWindow")) {
      if (IsWindowVisible(window)) {
        tooltip = describe_window(window).rect;
        return true;
      }
    }
    return false;
  });
  return tooltip;
}

void save_screen(const char* name) { capture_screen().save_bmp(artefact_folder() / (std::string(name) + ".bmp")); }

class Shell_Weather : public HttpsServerTest {
 protected:
  void SetUp() override {
    HttpsServerTest::SetUp();
    answer(200, forecast_json(0));
  }

  // What the server answers for the forecast from now on.
  void answer(int status, const std::string& body) const { server_.answer("forecast", status, body); }
  // "path<TAB>user agent" of every forecast request so far.
  [[nodiscard]] std::vector<std::string> forecast_requests() const { return server_.requests("/v1/forecast"); }
};

TEST_F(Shell_Weather, AsksForThePlaceWithTheProductsUserAgent) {
  RunningVessa vessa(kConfig, L"--debug");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  ASSERT_TRUE(wait_until([&] { return !forecast_requests().empty(); }, 15s)) << "no forecast request";
  EXPECT_EQ(forecast_requests().front(),
            std::string(kForecastPath) + "\tVESSA/" VESSA_VERSION " (+https://github.com/vessa-monitor/vessa)");
  EXPECT_TRUE(vessa.closes_with_zero());
}

TEST_F(Shell_Weather, TheIconAppearsAtTheLeftOfTheBarArea) {
  RunningVessa vessa(kConfig, L"--debug");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  const auto icon = wait_for_icon(vessa.bar, kClear);
  if (!icon) save_screen("weather_icon_missing");
  ASSERT_TRUE(icon.has_value()) << "no Clear icon on the bar";
  const RECT rect = describe_window(vessa.bar).rect;
  EXPECT_EQ(icon->x - rect.left, 8) << "layout.padding_x from the bar's left edge";
  EXPECT_GE(icon->y, rect.top);
  EXPECT_LE(icon->y + icon->side, rect.bottom);
  EXPECT_TRUE(vessa.closes_with_zero());
}

// Without metric items and lamps the figures never change, so no tick redraws the bar on its
// own: only the weather's intake does, as soon as the condition changes.
TEST_F(Shell_Weather, ANewConditionIsDrawnAtOnce) {
  RunningVessa vessa(R"([general]
update_interval_ms = 200

[metrics]
items = []
disk_lamp = false

[weather]
enabled = true
latitude = 35.68123
longitude = 139.7671
)", L"--debug");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  const auto clear = wait_for_icon(vessa.bar, kClear);
  ASSERT_TRUE(clear.has_value());

  answer(200, forecast_json(63));
  PostMessageW(vessa.bar, WM_TIMER, kWeatherTimer, 0);  // the weather timer's tick, without its ten minutes
  const auto rain = wait_for_icon(vessa.bar, kRain);
  if (!rain) save_screen("weather_rain_missing");
  ASSERT_TRUE(rain.has_value()) << "the Rain icon did not replace the Clear one";
  EXPECT_EQ(rain->x, clear->x);
  EXPECT_EQ(rain->y, clear->y);
  EXPECT_EQ(rain->side, clear->side);
  EXPECT_TRUE(vessa.closes_with_zero());
}

TEST_F(Shell_Weather, AFailingServerWritesTheDebugLine) {
  answer(404, "not here");
  RunningVessa vessa(kConfig, L"--debug");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  const auto line = vessa.process->wait_for_line("天気の取得に失敗: ", 15s);
  ASSERT_TRUE(line.has_value()) << vessa.report();
  EXPECT_EQ(*line, "天気の取得に失敗: 天気の取得が HTTP 404 で失敗しました");
  EXPECT_FALSE(find_icon(capture_screen(), describe_window(vessa.bar).rect, kClear).has_value());
  EXPECT_TRUE(vessa.closes_with_zero());
}

TEST_F(Shell_Weather, AFailedFetchWritesTheDebugLineAndTheLastReadingStays) {
  RunningVessa vessa(kConfig, L"--debug");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  const auto clear = wait_for_icon(vessa.bar, kClear);
  ASSERT_TRUE(clear.has_value());

  answer(500, "{}");
  PostMessageW(vessa.bar, WM_TIMER, kWeatherTimer, 0);
  const auto line = vessa.process->wait_for_line("天気の取得に失敗: ", 15s);
  ASSERT_TRUE(line.has_value()) << vessa.report();
  EXPECT_EQ(*line, "天気の取得に失敗: 天気の取得が HTTP 500 で失敗しました");

  answer(200, "{\"current\":");
  PostMessageW(vessa.bar, WM_TIMER, kWeatherTimer, 0);
  ASSERT_TRUE(wait_until([&] {
    const auto lines = vessa.process->output_lines();
    return std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
             return l.rfind("天気の取得に失敗: 天気の応答を JSON として解釈できません: [json.exception.parse_error.", 0) == 0;
           }) == 1;
  }, 15s)) << vessa.report();

  // Several ticks later the Clear icon is still there.
  Sleep(600);
  const auto still = find_icon(capture_screen(), describe_window(vessa.bar).rect, kClear);
  ASSERT_TRUE(still.has_value()) << "the last good reading was dropped";
  EXPECT_EQ(still->x, clear->x);
  EXPECT_TRUE(vessa.closes_with_zero());
}

// The tooltip has one row more with a reading than without one (row height 19 at 96 DPI), and
// that last row is the weather's: a label but no colour swatch.
TEST_F(Shell_Weather, TheTooltipShowsTheWeatherRow) {
  int without_reading = 0;
  {
    answer(500, "{}");
    RunningVessa vessa(kConfig, L"--debug");
    ASSERT_NE(vessa.bar, nullptr) << vessa.report();
    ASSERT_TRUE(vessa.process->wait_for_line("天気の取得に失敗: ", 15s).has_value()) << vessa.report();
    const auto tooltip = hover_tooltip(vessa.pid(), vessa.bar);
    ASSERT_TRUE(tooltip.has_value()) << "no tooltip while hovering the bar";
    without_reading = tooltip->bottom - tooltip->top;
    move_pointer(100, 100);
    EXPECT_TRUE(vessa.closes_with_zero());
  }
  answer(200, forecast_json(0));
  RunningVessa vessa(kConfig, L"--debug");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  ASSERT_TRUE(wait_for_icon(vessa.bar, kClear).has_value());
  const auto tooltip = hover_tooltip(vessa.pid(), vessa.bar);
  ASSERT_TRUE(tooltip.has_value()) << "no tooltip while hovering the bar";
  EXPECT_EQ(tooltip->bottom - tooltip->top, without_reading + 19);

  ScreenShot shot;
  const int row_top = tooltip->bottom - 9 - 19;
  int label_ink = 0;
  int swatch_ink = 0;
  wait_until([&] {
    shot = capture_screen();
    const std::uint32_t background = shot.at(tooltip->left + 1, tooltip->top + 1);
    label_ink = 0;
    swatch_ink = 0;
    for (int y = row_top; y < row_top + 19; ++y) {
      for (int x = tooltip->left + 12; x < tooltip->left + 12 + 14; ++x) swatch_ink += shot.at(x, y) != background;
      for (int x = tooltip->left + 34; x < tooltip->left + 80; ++x) label_ink += shot.at(x, y) != background;
    }
    return label_ink > 0;
  });
  EXPECT_GT(label_ink, 0) << "the weather row has its condition as label";
  EXPECT_EQ(swatch_ink, 0) << "the weather row has no swatch";
  move_pointer(100, 100);
  EXPECT_TRUE(vessa.closes_with_zero());
}

TEST_F(Shell_Weather, WithWeatherOffNothingIsFetchedAndNoIconIsDrawn) {
  const auto before = forecast_requests().size();
  RunningVessa vessa(R"([general]
update_interval_ms = 200

[weather]
enabled = false
latitude = 35.68123
longitude = 139.7671
)", L"--debug");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  PostMessageW(vessa.bar, WM_TIMER, kWeatherTimer, 0);  // a stray tick re-checks the settings
  Sleep(1500);
  EXPECT_EQ(forecast_requests().size(), before);
  EXPECT_FALSE(find_icon(capture_screen(), describe_window(vessa.bar).rect, kClear).has_value());
  EXPECT_TRUE(vessa.closes_with_zero());
}

}  // namespace
}  // namespace vessa::test
