#include <gtest/gtest.h>

#include <optional>

#include "render/taskbar_follow.hpp"

namespace vessa {
namespace {

using std::chrono::milliseconds;

// A taskbar at the bottom of a 1920 × 1080 display, and where an auto-hiding one slides to.
constexpr Rect kTaskbar{0, 1032, 1920, 1080};
constexpr Rect kSlidOnePixel{0, 1033, 1920, 1081};
constexpr Rect kHidden{0, 1078, 1920, 1126};
// Its notification area, and the same one wider by an icon; the bars just before it, and a
// window just left of them.
constexpr Rect kTray{1700, 1032, 1920, 1080};
constexpr Rect kWiderTray{1660, 1032, 1920, 1080};
constexpr Rect kBars{1612, 1034, 1692, 1072};
constexpr Rect kBesideBars{1400, 1032, 1612, 1080};
constexpr Rect kOverBars{1600, 1040, 1650, 1060};

TEST(TaskbarFollow, WhatALookCallsFor) {
  const struct {
    const char* name;
    std::optional<Rect> laid_out_over;
    // rectangle, taskbar topmost, bars topmost, bars reached walking up from the taskbar,
    // notification area, taskbar visible, the bars' rectangle, the windows met before them
    TaskbarLook look;
    bool raise;
    bool layout;
    std::optional<Rect> laid_out_tray = std::nullopt;
    bool shown = true;
  } cases[] = {
      {"steady: nothing at all", kTaskbar, {kTaskbar, true, true, true}, false, false},
      {"a click lifted the taskbar over the bars", kTaskbar, {kTaskbar, true, true, false}, true, false},
      {"a full-screen program took the taskbar out of the topmost band", kTaskbar, {kTaskbar, false, true, true}, true,
       false},
      {"the program ended: the taskbar is topmost again", kTaskbar, {kTaskbar, true, false, false}, true, false},
      {"both out of the topmost band, the bars above", kTaskbar, {kTaskbar, false, false, true}, false, false},
      {"an auto-hiding taskbar slid one pixel", kTaskbar, {kSlidOnePixel, true, true, true}, false, true},
      {"slid back from its edge", kHidden, {kTaskbar, true, true, true}, false, true},
      {"moved and covered at once", kTaskbar, {kHidden, true, true, false}, true, true},
      {"no layout over this taskbar yet", std::nullopt, {kTaskbar, true, true, true}, false, true},
      {"the notification area grew by an icon", kTaskbar, {kTaskbar, true, true, true, kWiderTray}, false, true,
       kTray},
      {"a hidden taskbar: the bars hide, nothing else", kTaskbar,
       {kSlidOnePixel, true, true, false, std::nullopt, false}, false, false, std::nullopt, false},
      {"a window between, beside the bars: nothing", kTaskbar,
       {kTaskbar, true, true, true, std::nullopt, true, kBars, {kBesideBars}}, false, false},
      {"a window between, over the bars", kTaskbar,
       {kTaskbar, true, true, true, std::nullopt, true, kBars, {kBesideBars, kOverBars}}, true, false},
  };
  for (const auto& c : cases) {
    std::optional<TaskbarShape> laid_out_over;
    if (c.laid_out_over) laid_out_over = TaskbarShape{*c.laid_out_over, c.laid_out_tray};
    const FollowSteps steps = follow_steps(laid_out_over, c.look);
    EXPECT_EQ(steps.raise, c.raise) << c.name;
    EXPECT_EQ(steps.layout, c.layout) << c.name;
    EXPECT_EQ(steps.shown, c.shown) << c.name;
  }
}

// A look at once, then 50 ms and 250 ms after the last event; an event while waiting starts
// the wait over.
TEST(TaskbarFollow, LooksAgain50And250MsAfterTheLastEvent) {
  RecheckSchedule schedule;
  EXPECT_EQ(schedule.on_event(), milliseconds(50));
  EXPECT_EQ(schedule.on_timer(), milliseconds(200));
  EXPECT_EQ(schedule.on_timer(), std::nullopt);

  EXPECT_EQ(schedule.on_event(), milliseconds(50));
  EXPECT_EQ(schedule.on_timer(), milliseconds(200));
  EXPECT_EQ(schedule.on_event(), milliseconds(50));  // the slide goes on
  EXPECT_EQ(schedule.on_timer(), milliseconds(200));
  EXPECT_EQ(schedule.on_timer(), std::nullopt);
}

}  // namespace
}  // namespace vessa
