#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "config/config.hpp"
#include "render/obstacle_fit.hpp"
#include "render/placement.hpp"
#include "render/taskbar_buttons.hpp"

namespace vessa {
namespace {

// The default bars in Wine's taskbar: 80 pixels ending 8 before the end, 20 high.
constexpr Placement kPlaced{1192, 783, 80, 20};
// Minimum 40, margin 4, hysteresis 6.
constexpr ObstacleRule kRule{40, 4, 6};

TEST(ObstacleFit, ShortensFromTheEndAwayFromTheAnchorOrHides) {
  const struct {
    const char* name;
    Placement placed;
    bool vertical;
    Anchor anchor;
    std::vector<Rect> obstacles;
    bool hidden_before;
    std::optional<Placement> expected;
  } cases[] = {
      {"no obstacle: today's placement", kPlaced, false, Anchor::TrayLeft, {}, false, kPlaced},
      {"a button far away", kPlaced, false, Anchor::TrayLeft, {{0, 780, 48, 800}}, false, kPlaced},
      {"touching but not overlapping", kPlaced, false, Anchor::TrayLeft, {{1150, 780, 1192, 800}}, false, kPlaced},
      {"a button in another row above", kPlaced, false, Anchor::TrayLeft, {{1150, 700, 1250, 783}}, false, kPlaced},
      {"overlapping by one pixel", kPlaced, false, Anchor::TrayLeft, {{1150, 780, 1193, 800}}, false,
       Placement{1197, 783, 75, 20}},
      {"the nearest of several counts", kPlaced, false, Anchor::Right,
       {{1100, 780, 1200, 800}, {1200, 780, 1210, 800}}, false, Placement{1214, 783, 58, 20}},
      {"exactly the minimum left", kPlaced, false, Anchor::TrayLeft, {{1150, 780, 1228, 800}}, false,
       Placement{1232, 783, 40, 20}},
      {"one pixel less than the minimum: hidden", kPlaced, false, Anchor::TrayLeft, {{1150, 780, 1229, 800}}, false,
       std::nullopt},
      {"a button over the kept end: hidden", kPlaced, false, Anchor::TrayLeft, {{1260, 780, 1300, 800}}, false,
       std::nullopt},
      {"hidden, the minimum again is not enough", kPlaced, false, Anchor::TrayLeft, {{1150, 780, 1228, 800}}, true,
       std::nullopt},
      {"hidden, the minimum and the hysteresis bring it back", kPlaced, false, Anchor::TrayLeft,
       {{1150, 780, 1222, 800}}, true, Placement{1226, 783, 46, 20}},
      {"hidden, the buttons gone: today's placement", kPlaced, false, Anchor::TrayLeft, {}, true, kPlaced},
      {"left anchor keeps the start", Placement{8, 783, 80, 20}, false, Anchor::Left, {{60, 780, 300, 800}}, false,
       Placement{8, 783, 48, 20}},
      {"left anchor, too little left", Placement{8, 783, 80, 20}, false, Anchor::Left, {{40, 780, 300, 800}}, false,
       std::nullopt},
      {"vertical, right anchor keeps the bottom", Placement{1241, 712, 38, 80}, true, Anchor::Right,
       {{1240, 650, 1280, 730}}, false, Placement{1241, 734, 38, 58}},
      {"vertical, left anchor keeps the top", Placement{1241, 8, 38, 80}, true, Anchor::Left,
       {{1240, 60, 1280, 200}}, false, Placement{1241, 8, 38, 48}},
      {"a placement shorter than the minimum hides at any overlap", Placement{1240, 783, 30, 20}, false,
       Anchor::Right, {{1200, 780, 1241, 800}}, false, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fit_beside_obstacles(c.placed, c.vertical, c.anchor, c.obstacles, kRule, c.hidden_before), c.expected)
        << c.name;
  }
}

TEST(ObstacleFit, TheMinimumHoldsTheWeatherIconThePaddingsAndAThirdOfTheLines) {
  Config config;  // line_length 64, padding_x 8
  const Geometry plain{2, 14, std::nullopt, 1};
  const Geometry with_icon{2, 14, 4, 1};
  // 16 of paddings and 24 (a third of 64 is 21, less than 24).
  EXPECT_EQ(obstacle_rule(config, plain, 96), (ObstacleRule{40, 4, 6}));
  // The icon adds its square of the band and its gap: 14 + 4.
  EXPECT_EQ(obstacle_rule(config, with_icon, 96).minimum, 58);
  // At 144 DPI each length scales: 40 × 1.5, 4 × 1.5, 6 × 1.5.
  EXPECT_EQ(obstacle_rule(config, plain, 144), (ObstacleRule{60, 6, 9}));
  // Long lines keep a third of their length.
  config.layout.line_length = 300;
  EXPECT_EQ(obstacle_rule(config, plain, 96).minimum, 116);
}

TEST(TaskbarButtons, OnlyButtonsInsideTheBandAndClearOfTheNotificationAreaAreObstacles) {
  const Rect band{0, 780, 1280, 800};
  const Rect tray{1100, 780, 1280, 800};
  const AutomationElement elements[] = {
      {{0, 780, 48, 800}, kButtonControlType},       // Start: kept
      {{300, 780, 460, 800}, kButtonControlType},    // a task button: kept
      {{300, 780, 460, 800}, 50033},                 // a pane of the same size: not a button
      {{1120, 780, 1140, 800}, kButtonControlType},  // a tray icon
      {{1090, 780, 1101, 800}, kButtonControlType},  // reaching into the notification area
      {{500, 700, 560, 800}, kButtonControlType},    // sticking out of the band
      {{600, 780, 600, 800}, kButtonControlType},    // empty
  };
  EXPECT_EQ(taskbar_obstacles(elements, band, tray), (std::vector<Rect>{{0, 780, 48, 800}, {300, 780, 460, 800}}));
  // Without a notification area the tray icons are buttons like any other.
  EXPECT_EQ(taskbar_obstacles(elements, band, std::nullopt).size(), 4u);
}

TEST(TaskbarButtons, ScansStartOneAtATimeAndNoCloserThanTheSpacing) {
  using namespace std::chrono_literals;
  const ButtonScanGate::Clock::time_point t0{};
  ButtonScanGate gate;
  EXPECT_TRUE(gate.want(t0));
  EXPECT_FALSE(gate.want(t0 + 10ms));  // one runs: the burst waits
  EXPECT_EQ(gate.pending_in(t0 + 10ms), std::nullopt);
  gate.finished();
  EXPECT_EQ(gate.pending_in(t0 + 100ms), 150ms);
  EXPECT_FALSE(gate.start_pending(t0 + 200ms));
  EXPECT_TRUE(gate.start_pending(t0 + 250ms));
  gate.finished();
  EXPECT_EQ(gate.pending_in(t0 + 300ms), std::nullopt);  // nothing more was asked
  EXPECT_FALSE(gate.start_pending(t0 + 600ms));
  EXPECT_TRUE(gate.want(t0 + 600ms));
}

}  // namespace
}  // namespace vessa
