// The message loop of the real program over a bar window in child mode under a fake taskbar.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <thread>

#include "app/app_state_win.hpp"
#include "app/application_win.hpp"
#include "app/bar_window_win.hpp"
#include "app/tray_icon_win.hpp"
#include "fake_taskbar_win.hpp"
#include "harness_win.hpp"

namespace vessa::test {
namespace {

BOOL WINAPI failing_get_message(LPMSG, HWND, UINT, UINT) {
  SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return -1;
}

// A failing GetMessage ends the program with the fatal report: the bar window goes for good (no
// replacement, as after a shell restart) and its tray icon record with it.
TEST(Plain_MessageLoop, AFailingGetMessageEndsWithTheFatalReportAndNoReplacementWindow) {
  FakeTaskbar taskbar(RECT{0, 760, 1280, 800}, RECT{1100, 760, 1280, 800});
  auto state = std::make_unique<AppState>();
  state->config.behavior.attach_mode = AttachMode::Child;
  state->taskbar = taskbar.window();
  state->current_attach_mode = AttachMode::Child;
  static const bool registered = BarWindow::register_class();
  ASSERT_TRUE(registered);
  state->bar = std::make_unique<BarWindow>(*state);
  ASSERT_TRUE(state->bar->create_for(AttachMode::Child, state->taskbar));
  const HWND bar = state->bar_window();
  set_bar_timers(bar, state->timers, state->config);
  state->tray = TrayIcon{bar, std::nullopt, false};
  (void)add_tray_icon(*state->tray, "VESSA");  // this desktop has no notification area: the record stays

  std::wstring report;
  std::thread closer([&] {
    if (const auto box = wait_for_message_box(GetCurrentProcessId())) {
      report = message_box_text(*box);
      press_ok(*box);
    }
  });
  const int status = run_message_loop(*state, &failing_get_message);
  closer.join();

  EXPECT_EQ(status, 1);
  EXPECT_TRUE(utf8(report).starts_with("メッセージの取得に失敗しました: ")) << utf8(report);
  EXPECT_FALSE(IsWindow(bar));
  EXPECT_EQ(state->bar_window(), nullptr);
  EXPECT_TRUE(find_windows(GetCurrentProcessId(), L"VessaMonitorWindow").empty()) << "a replacement window exists";
  EXPECT_FALSE(state->tray.has_value()) << "the tray icon was not removed";
}

}  // namespace
}  // namespace vessa::test
