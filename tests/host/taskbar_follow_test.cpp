#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "render/taskbar_follow.hpp"

namespace vessa {
namespace {

using std::chrono::milliseconds;

// A topmost taskbar at the bottom of a 1920 × 1080 display, the bars directly above it.
constexpr Rect kTaskbar{0, 1032, 1920, 1080};
constexpr TaskbarLook kSteady{kTaskbar, true, true, true};

TEST(TaskbarFollow, WhatALookCallsFor) {
  const auto look = [](void (*change)(TaskbarLook&)) {
    TaskbarLook l = kSteady;
    change(l);
    return l;
  };
  const struct {
    const char* name;
    std::optional<Rect> laid_out_over;
    TaskbarLook look;
    FollowSteps steps;
  } cases[] = {
      {"steady: nothing at all", kTaskbar, kSteady, {false, false}},
      {"a click lifted the taskbar over the bars", kTaskbar, look([](TaskbarLook& l) { l.window_above = false; }),
       {true, false}},
      {"a full-screen program took the taskbar out of the topmost band", kTaskbar,
       look([](TaskbarLook& l) { l.taskbar_topmost = false; }), {true, false}},
      {"the program ended: the taskbar is topmost again, the bars are not", kTaskbar,
       look([](TaskbarLook& l) { l.window_topmost = false; }), {true, false}},
      {"both out of the topmost band, the bars still above: nothing", kTaskbar,
       look([](TaskbarLook& l) { l.taskbar_topmost = l.window_topmost = false; }), {false, false}},
      {"an auto-hiding taskbar slid one pixel down", kTaskbar,
       look([](TaskbarLook& l) { l.taskbar = Rect{0, 1033, 1920, 1081}; }), {false, true}},
      {"slid back from its two-pixel edge", Rect{0, 1078, 1920, 1126}, kSteady, {false, true}},
      {"moved and covered at once", kTaskbar,
       look([](TaskbarLook& l) {
         l.taskbar = Rect{0, 0, 1920, 48};
         l.window_above = false;
       }),
       {true, true}},
      {"no layout over this taskbar yet", std::nullopt, kSteady, {false, true}},
  };
  for (const auto& c : cases) {
    const FollowSteps steps = follow_steps(c.laid_out_over, c.look);
    EXPECT_EQ(steps.raise, c.steps.raise) << c.name;
    EXPECT_EQ(steps.layout, c.steps.layout) << c.name;
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
