// The weather of the real vessa.exe: the forecast host is this test's own HTTPS server (the
// test runs in a private network and mount namespace where api.open-meteo.com is 127.0.0.1;
// see tests/win/https_namespace.sh), so the whole path runs for real: worker thread, WinHTTP,
// parsing, the channel, the tick that takes the result in, and the icon on the bar.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup_rules.hpp"
#include "harness_win.hpp"
#include "https_server_win.hpp"
#include "pointer_win.hpp"
#include "render/canvas.hpp"
#include "trusted_root_win.hpp"
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

// The server's side of the test: what it answers for the forecast, what it was asked.
class ForecastServer {
 public:
  [[nodiscard]] bool available() const { return server_.available(); }
  void answer(int status, const std::string& body) const { server_.answer("forecast", status, body); }
  // "path<TAB>user agent" of every forecast request so far.
  [[nodiscard]] std::vector<std::string> forecast_requests() const { return server_.requests("/v1/forecast"); }

 private:
  ScriptedHttpsServer server_;
};

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

class Shell_Weather : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const auto ca = windows_path_from_env("VESSA_HTTPS_CA");
    if (!ca.empty()) root_ = std::make_unique<TrustedRoot>(ca);
  }
  static void TearDownTestSuite() { root_.reset(); }

  void SetUp() override {
    if (!root_ || !server_.available()) {
      GTEST_SKIP() << "needs the local forecast server: run by the test vessa_e2e_weather_https";
    }
    ASSERT_TRUE(root_->ok()) << root_->error();
    server_.answer(200, forecast_json(0));
  }

  // Starts vessa.exe with weather on and waits for its bar window.
  HWND start(VessaFolder& folder, std::unique_ptr<VessaProcess>& vessa, const char* config = kConfig) {
    folder.write_config(config);
    vessa = std::make_unique<VessaProcess>(folder.exe(), L"--debug");
    const auto bar = wait_for_bar_window(vessa->pid());
    if (!bar) {
      if (const auto box = wait_for_message_box(vessa->pid(), 1s)) ADD_FAILURE() << utf8(message_box_text(*box));
    }
    return bar ? *bar : nullptr;
  }

  static std::unique_ptr<TrustedRoot> root_;
  ForecastServer server_;
};
std::unique_ptr<TrustedRoot> Shell_Weather::root_;

TEST_F(Shell_Weather, AsksForThePlaceWithTheProductsUserAgent) {
  VessaFolder folder;
  std::unique_ptr<VessaProcess> vessa;
  HWND bar = start(folder, vessa);
  ASSERT_NE(bar, nullptr) << vessa->output() << vessa->error_output();
  ASSERT_TRUE(wait_until([&] { return !server_.forecast_requests().empty(); }, 15s)) << "no forecast request";
  EXPECT_EQ(server_.forecast_requests().front(),
            std::string(kForecastPath) + "\tVESSA/" VESSA_VERSION " (+https://github.com/vessa-monitor/vessa)");
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa->wait(), std::optional<DWORD>(0));
}

TEST_F(Shell_Weather, TheIconAppearsAtTheLeftOfTheBarArea) {
  VessaFolder folder;
  std::unique_ptr<VessaProcess> vessa;
  HWND bar = start(folder, vessa);
  ASSERT_NE(bar, nullptr) << vessa->output() << vessa->error_output();
  const auto icon = wait_for_icon(bar, kClear);
  if (!icon) save_screen("weather_icon_missing");
  ASSERT_TRUE(icon.has_value()) << "no Clear icon on the bar";
  const RECT rect = describe_window(bar).rect;
  EXPECT_EQ(icon->x - rect.left, 8) << "layout.padding_x from the bar's left edge";
  EXPECT_GE(icon->y, rect.top);
  EXPECT_LE(icon->y + icon->side, rect.bottom);
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa->wait(), std::optional<DWORD>(0));
}

// Without metric items and lamps the figures never change, so no tick redraws the bar on its
// own: only the weather's intake does, as soon as the condition changes.
TEST_F(Shell_Weather, ANewConditionIsDrawnAtOnce) {
  VessaFolder folder;
  std::unique_ptr<VessaProcess> vessa;
  HWND bar = start(folder, vessa, R"([general]
update_interval_ms = 200

[metrics]
items = []
disk_lamp = false

[weather]
enabled = true
latitude = 35.68123
longitude = 139.7671
)");
  ASSERT_NE(bar, nullptr) << vessa->output() << vessa->error_output();
  const auto clear = wait_for_icon(bar, kClear);
  ASSERT_TRUE(clear.has_value());

  server_.answer(200, forecast_json(63));
  PostMessageW(bar, WM_TIMER, kWeatherTimer, 0);  // the weather timer's tick, without its ten minutes
  const auto rain = wait_for_icon(bar, kRain);
  if (!rain) save_screen("weather_rain_missing");
  ASSERT_TRUE(rain.has_value()) << "the Rain icon did not replace the Clear one";
  EXPECT_EQ(rain->x, clear->x);
  EXPECT_EQ(rain->y, clear->y);
  EXPECT_EQ(rain->side, clear->side);
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa->wait(), std::optional<DWORD>(0));
}

TEST_F(Shell_Weather, AFailingServerWritesTheDebugLine) {
  server_.answer(404, "not here");
  VessaFolder folder;
  std::unique_ptr<VessaProcess> vessa;
  HWND bar = start(folder, vessa);
  ASSERT_NE(bar, nullptr) << vessa->output() << vessa->error_output();
  const auto line = vessa->wait_for_line("天気の取得に失敗: ", 15s);
  ASSERT_TRUE(line.has_value()) << vessa->output();
  EXPECT_EQ(*line, "天気の取得に失敗: 天気の取得が HTTP 404 で失敗しました");
  EXPECT_FALSE(find_icon(capture_screen(), describe_window(bar).rect, kClear).has_value());
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa->wait(), std::optional<DWORD>(0));
}

TEST_F(Shell_Weather, AFailedFetchWritesTheDebugLineAndTheLastReadingStays) {
  VessaFolder folder;
  std::unique_ptr<VessaProcess> vessa;
  HWND bar = start(folder, vessa);
  ASSERT_NE(bar, nullptr) << vessa->output() << vessa->error_output();
  const auto clear = wait_for_icon(bar, kClear);
  ASSERT_TRUE(clear.has_value());

  server_.answer(500, "{}");
  PostMessageW(bar, WM_TIMER, kWeatherTimer, 0);
  const auto line = vessa->wait_for_line("天気の取得に失敗: ", 15s);
  ASSERT_TRUE(line.has_value()) << vessa->output();
  EXPECT_EQ(*line, "天気の取得に失敗: 天気の取得が HTTP 500 で失敗しました");

  server_.answer(200, "{\"current\":");
  PostMessageW(bar, WM_TIMER, kWeatherTimer, 0);
  ASSERT_TRUE(wait_until([&] {
    const auto lines = vessa->output_lines();
    return std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
             return l.rfind("天気の取得に失敗: 天気の応答を JSON として解釈できません: [json.exception.parse_error.", 0) == 0;
           }) == 1;
  }, 15s)) << vessa->output();

  // Several ticks later the Clear icon is still there.
  Sleep(600);
  const auto still = find_icon(capture_screen(), describe_window(bar).rect, kClear);
  ASSERT_TRUE(still.has_value()) << "the last good reading was dropped";
  EXPECT_EQ(still->x, clear->x);
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa->wait(), std::optional<DWORD>(0));
}

// The tooltip has one row more with a reading than without one (row height 19 at 96 DPI), and
// that last row is the weather's: a label but no colour swatch.
TEST_F(Shell_Weather, TheTooltipShowsTheWeatherRow) {
  int without_reading = 0;
  {
    server_.answer(500, "{}");
    VessaFolder folder;
    std::unique_ptr<VessaProcess> vessa;
    HWND bar = start(folder, vessa);
    ASSERT_NE(bar, nullptr) << vessa->output() << vessa->error_output();
    ASSERT_TRUE(vessa->wait_for_line("天気の取得に失敗: ", 15s).has_value()) << vessa->output();
    const auto tooltip = hover_tooltip(vessa->pid(), bar);
    ASSERT_TRUE(tooltip.has_value()) << "no tooltip while hovering the bar";
    without_reading = tooltip->bottom - tooltip->top;
    move_pointer(100, 100);
    PostMessageW(bar, WM_CLOSE, 0, 0);
    EXPECT_EQ(vessa->wait(), std::optional<DWORD>(0));
  }
  server_.answer(200, forecast_json(0));
  VessaFolder folder;
  std::unique_ptr<VessaProcess> vessa;
  HWND bar = start(folder, vessa);
  ASSERT_NE(bar, nullptr) << vessa->output() << vessa->error_output();
  ASSERT_TRUE(wait_for_icon(bar, kClear).has_value());
  const auto tooltip = hover_tooltip(vessa->pid(), bar);
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
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa->wait(), std::optional<DWORD>(0));
}

TEST_F(Shell_Weather, WithWeatherOffNothingIsFetchedAndNoIconIsDrawn) {
  VessaFolder folder;
  std::unique_ptr<VessaProcess> vessa;
  const auto before = server_.forecast_requests().size();
  HWND bar = start(folder, vessa, R"([general]
update_interval_ms = 200

[weather]
enabled = false
latitude = 35.68123
longitude = 139.7671
)");
  ASSERT_NE(bar, nullptr) << vessa->output() << vessa->error_output();
  PostMessageW(bar, WM_TIMER, kWeatherTimer, 0);  // a stray tick re-checks the settings
  Sleep(1500);
  EXPECT_EQ(server_.forecast_requests().size(), before);
  EXPECT_FALSE(find_icon(capture_screen(), describe_window(bar).rect, kClear).has_value());
  PostMessageW(bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa->wait(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace vessa::test
