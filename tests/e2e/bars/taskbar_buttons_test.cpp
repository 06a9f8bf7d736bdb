// The bars beside the taskbar's own buttons: the real vessa.exe over a fake taskbar whose
// buttons a UI Automation client in another process can see, as the shell's are seen.
#include <gtest/gtest.h>

#include "fake_taskbar_win.hpp"
#include "harness_win.hpp"
#include "screen_check_win.hpp"
#include "render/geometry.hpp"
#include "taskbar_buttons_provider_win.hpp"

namespace vessa::test {
namespace {

bool placed_at(HWND window, const Placement& placement) {
  RECT r{};
  return IsWindowVisible(window) && GetWindowRect(window, &r) && r.left == placement.x && r.top == placement.y &&
         r.right - r.left == placement.width && r.bottom - r.top == placement.height;
}

TEST(Plain_Bars, TheBarsShrinkThenHideBesideTheTaskbarsButtonsAndComeBackWhenTheyGo) {
  if (!ui_automation_client_available()) {
    GTEST_SKIP() << "this Wine has no UI Automation client: the bars stand where every other test places them";
  }
  FakeTaskbar taskbar(RECT{0, 760, 1280, 800}, RECT{1100, 760, 1280, 800});
  TaskbarButtonsProvider buttons(taskbar.window());
  buttons.set_buttons({RECT{0, 762, 48, 798}});  // Start, far from the bars
  RunningVessa vessa("[behavior]\nreattach_check_ms = 60000\n", L"--debug");
  ASSERT_NE(vessa.bar, nullptr);
  const Placement full{1012, 764, 80, 38};  // tray_left: 8 before the notification area
  ASSERT_TRUE(wait_until([&] { return placed_at(vessa.bar, full); })) << vessa.report();
  ASSERT_TRUE(wait_until([&] { return buttons.searches() >= 1; })) << "the first layout scans the buttons";

  // Task buttons grow toward the bars; the shell says so with its taskbar's events.
  const auto grow_to = [&](LONG right) {
    buttons.set_buttons({RECT{0, 762, 48, 798}, RECT{60, 762, right, 798}});
    raise_win_event(EVENT_OBJECT_LOCATIONCHANGE, taskbar.window());
  };
  grow_to(1040);  // 4 pixels clear of the button, the right end kept
  EXPECT_TRUE(wait_until([&] { return placed_at(vessa.bar, Placement{1044, 764, 48, 38}); }, 2s)) << vessa.report();
  EXPECT_NE(vessa.report().find("placement=Placement { x: 1044, y: 764, width: 48, height: 38 }"), std::string::npos);
  grow_to(1060);  // 28 left: less than the 40 the bars need
  EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(vessa.bar); }, 2s)) << vessa.report();
  grow_to(1044);  // 44 left: enough for bars that show, not for hidden ones to come back
  pump_for(1s);
  EXPECT_FALSE(IsWindowVisible(vessa.bar));
  buttons.set_buttons({RECT{0, 762, 48, 798}});  // the programs closed
  raise_win_event(EVENT_OBJECT_LOCATIONCHANGE, taskbar.window());
  EXPECT_TRUE(wait_until([&] { return placed_at(vessa.bar, full); }, 2s)) << vessa.report();

  // The steady taskbar is scanned no more.
  pump_for(500ms);
  const int settled = buttons.searches();
  pump_for(2s);
  EXPECT_EQ(buttons.searches(), settled);
  EXPECT_TRUE(vessa.closes_with_zero());
}

}  // namespace
}  // namespace vessa::test
