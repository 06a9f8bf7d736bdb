// The mirrors' clock search lets messages through while it waits on the shell, and one of them
// (a look, a timer, a setting change) may lay the bars out again: the outer layout must not
// store its older placement over that one.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <utility>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "fake_taskbar_win.hpp"

namespace vessa::test {
namespace {

TEST(Plain_LayoutReentry, ALayoutInsideTheClockSearchIsNotUndoneByTheOuterOne) {
  FakeTaskbar primary(RECT{0, 760, 1280, 800}, RECT{1100, 760, 1280, 800});
  const FakeTaskbar secondary(RECT{0, 0, 1280, 30}, std::nullopt, FakeTaskbar::Kind::Secondary);
  ASSERT_TRUE(BarWindow::register_class());
  auto state = std::make_unique<AppState>();  // no sample yet: placed, nothing drawn
  state->config.general.displays = Displays::All;
  state->current_attach_mode = AttachMode::Overlay;
  state->taskbar = primary.window();
  state->bar = std::make_unique<BarWindow>(*state);
  ASSERT_TRUE(state->bar->create_for(AttachMode::Overlay, primary.window()));

  // The notification area grows during the search, and a look lays out again from inside it.
  bool grown = false;
  state->mirrors.set_clock_search([&](HWND) -> std::optional<RECT> {
    if (!std::exchange(grown, true)) {
      primary.move_tray(RECT{1000, 760, 1280, 800});
      layout(*state);
    }
    return std::nullopt;
  });
  layout(*state);
  ASSERT_TRUE(grown) << "no clock search ran";
  EXPECT_EQ(state->placement.x + state->placement.width, 1000 - 8) << "the stale placement was stored";

  state.reset();  // the bar window's end asks the message loop to end: not this one's
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
}  // namespace vessa::test
