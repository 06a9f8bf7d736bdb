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

TEST(TaskbarFollow, WhatALookCallsFor) {
  const struct {
    const char* name;
    std::optional<Rect> laid_out_over;
    TaskbarLook look;  // rectangle, taskbar topmost, bars topmost, bars directly above
    bool raise;
    bool layout;
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
  };
  for (const auto& c : cases) {
    const FollowSteps steps = follow_steps(c.laid_out_over, c.look);
    EXPECT_EQ(steps.raise, c.raise) << c.name;
    EXPECT_EQ(steps.layout, c.layout) << c.name;
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
