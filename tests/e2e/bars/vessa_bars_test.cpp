// The bars of the real vessa.exe in Wine desktops: the relayout diagnostics, the pixels on the
// screen, relayouts on system notifications and shell restarts, fake taskbars with a
// notification area, 144 DPI, and ten thousand update ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "bars_support.hpp"
#include "config/colors.hpp"
#include "config/theme_win.hpp"
#include "fake_taskbar_win.hpp"
#include "render/bar_frame.hpp"

namespace vessa::test {
namespace {

std::size_t count_lines(const RunningVessa& vessa, const std::string& prefix) {
  const auto lines = vessa.process->output_lines();
  return static_cast<std::size_t>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
}

bool wait_for_lines(const RunningVessa& vessa, const std::string& prefix, std::size_t count,
                    std::chrono::milliseconds timeout = 10s) {
  return wait_until([&] { return count_lines(vessa, prefix) >= count; }, timeout);
}

RECT window_rect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool at_placement(HWND window, const Placement& placement) {
  const RECT r = window_rect(window);
  return r.left == placement.x && r.top == placement.y && r.right - r.left == placement.width &&
         r.bottom - r.top == placement.height;
}

// The first push moves the 1 × 1 window of its creation to its placement.
bool wait_until_drawn(HWND window, const Placement& placement, std::chrono::milliseconds timeout = 10s) {
  return wait_until([&] { return at_placement(window, placement); }, timeout);
}

// Under Wine only the processor counter exists, so the disk, network and graphics bars stay at
// 0 and the one disk lamp (no physical disks are listed) stays dark: a frame known in advance.
constexpr char kSteadyItems[] = "[metrics]\nitems = [\"disk\", \"net\", \"gpu\"]\n";

MetricSample steady_sample() {
  MetricSample sample;
  sample.bars = {{0, MetricKind::Disk}, {0, MetricKind::Net}, {0, MetricKind::Gpu}};
  return sample;
}

Config steady_config() {
  Config config;
  config.metrics.items = {MetricKind::Disk, MetricKind::Net, MetricKind::Gpu};
  return config;
}

void expect_frame_on_screen(const Config& config, const Geometry& geometry, const Placement& placement,
                            std::uint32_t dpi, const wchar_t* artefact) {
  const FrameModel frame = build_frame(config, resolve_colors(config.appearance, taskbar_is_dark()), steady_sample(),
                                       geometry, placement.width, placement.height, dpi, kNoIcon, std::nullopt);
  ScreenShot shot;
  const std::string differences =
      wait_for_screen(placement.x, placement.y, expected_pixels(frame, placement.width, placement.height), &shot);
  if (!differences.empty()) shot.save_bmp(artefact_folder() / artefact);
  EXPECT_EQ(differences, "") << "screenshot: " << utf8(artefact);
}

// --- Wine's own taskbar -----------------------------------------------------------------

TEST(Shell_Bars, DebugWritesTheRelayoutLineForTheDesktopsTaskbar) {
  RunningVessa vessa("", L"--debug");
  const auto line = vessa.process->wait_for_line("relayout ");
  ASSERT_TRUE(line.has_value()) << vessa.report();
  EXPECT_EQ(*line,
            "relayout mode=Overlay vertical=false dpi=96 container=1280x20 geometry=Geometry { thickness: 2, band: 14, "
            "icon_gap: None, line_inset: 1 } placement=Placement { x: 1192, y: 783, width: 80, height: 20 }");
  ASSERT_NE(vessa.bar, nullptr);
  EXPECT_TRUE(vessa.closes_with_zero());
  EXPECT_EQ(count_lines(vessa, "relayout "), 1u);
}

TEST(Shell_Bars, WithoutDebugNothingIsWritten) {
  RunningVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(wait_until_drawn(vessa.bar, Placement{1192, 783, 80, 20}));
  EXPECT_TRUE(vessa.closes_with_zero());
  EXPECT_EQ(vessa.process->output(), "");
}

TEST(Shell_Bars, TheScreenShowsTheFrameAtItsPlacement) {
  RunningVessa vessa(kSteadyItems);
  ASSERT_NE(vessa.bar, nullptr);
  const Placement placement{1192, 783, 80, 20};
  ASSERT_TRUE(wait_until_drawn(vessa.bar, placement)) << "the bars were never drawn";
  expect_frame_on_screen(steady_config(), Geometry{2, 14, std::nullopt, 3}, placement, 96, L"bars-shell.bmp");

  // The rows themselves: three two-pixel tracks in the 14-row band from row 3, inset by 3 and
  // one row apart (rows 6, 9, 12 of the window), 64 pixels from x 8, black around them.
  const ScreenShot shot = capture_screen();
  const auto screen = [&](int x, int y) { return shot.at(placement.x + x, placement.y + y); };
  for (const int row : {6, 7, 9, 10, 12, 13}) {
    EXPECT_EQ(screen(8, row), 0x0F0F0Fu) << row;
    EXPECT_EQ(screen(63, row), 0x0F0F0Fu) << row;
    EXPECT_EQ(screen(7, row), 0x000000u) << row;
    EXPECT_EQ(screen(72, row), 0x000000u) << row;
  }
  for (const int row : {5, 8, 11, 14}) EXPECT_EQ(screen(20, row), 0x000000u) << row;
  EXPECT_TRUE(vessa.closes_with_zero());
}

// With the default items the processor and memory figures are live, so each row is checked
// for its shape: a run of the item's colour from the bar's start, then the track to its end.
TEST(Shell_Bars, DefaultRowsAreTheirColourFromTheStartThenTheTrack) {
  RunningVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  const Placement placement{1192, 783, 80, 20};
  ASSERT_TRUE(wait_until_drawn(vessa.bar, placement));
  pump_for(300ms);
  const ScreenShot shot = capture_screen();
  const auto screen = [&](int x, int y) { return shot.at(placement.x + x, placement.y + y); };
  constexpr std::uint32_t kTrack = 0x0F0F0F;
  const struct {
    int row;
    std::uint32_t color;  // the standard colours
  } rows[] = {{4, 0x47A8D8}, {7, 0x3B5FB0}, {10, 0x93C13D}, {13, 0x8F385C}};
  for (const auto& r : rows) {
    for (const int y : {r.row, r.row + 1}) {
      int x = 8;
      while (x < 64 && screen(x, y) == r.color) ++x;
      while (x < 64 && screen(x, y) == kTrack) ++x;
      EXPECT_EQ(x, 64) << "row " << y << " breaks at x " << x << ": " << std::hex << screen(x, y);
      EXPECT_EQ(screen(7, y), 0u) << y;
    }
    EXPECT_EQ(screen(20, r.row - 1), 0u) << r.row - 1;
  }
  EXPECT_TRUE(vessa.closes_with_zero());
}

TEST(Shell_Bars, ANotificationThatChangesNothingDrawsNothing) {
  RunningVessa vessa("", L"--debug");
  ASSERT_NE(vessa.bar, nullptr);
  const Placement placement{1192, 783, 80, 20};
  ASSERT_TRUE(wait_until_drawn(vessa.bar, placement));

  // Move the window away: a layout that drew would push it back to its placement.
  SetWindowPos(vessa.bar, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  DWORD_PTR ignored = 0;
  for (const UINT message : {WM_SETTINGCHANGE, WM_DISPLAYCHANGE, WM_DPICHANGED}) {
    ASSERT_NE(SendMessageTimeoutW(vessa.bar, message, 0, 0, SMTO_BLOCK, 5000, &ignored), 0);
  }
  const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  ASSERT_NE(SendMessageTimeoutW(vessa.bar, taskbar_created, 0, 0, SMTO_BLOCK, 5000, &ignored), 0);
  pump_for(200ms);
  EXPECT_EQ(window_rect(vessa.bar).left, 100);
  EXPECT_EQ(window_rect(vessa.bar).top, 100);
  EXPECT_EQ(count_lines(vessa, "relayout "), 1u);
  EXPECT_TRUE(vessa.closes_with_zero());
}

TEST(Shell_Bars, TaskbarCreatedRaisesTheOverlayAboveTheTaskbarAgain) {
  RunningVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  ASSERT_NE(taskbar, nullptr);
  ASSERT_TRUE(wait_until([&] { return GetWindow(taskbar, GW_HWNDPREV) == vessa.bar; }, 5s));

  SetWindowPos(vessa.bar, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(vessa.bar, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_NE(GetWindow(taskbar, GW_HWNDPREV), vessa.bar);
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(wait_until([&] { return GetWindow(taskbar, GW_HWNDPREV) == vessa.bar; }, 5s));
  const bool taskbar_topmost = (GetWindowLongPtrW(taskbar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  EXPECT_EQ((GetWindowLongPtrW(vessa.bar, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, taskbar_topmost);
  EXPECT_TRUE(vessa.closes_with_zero());
}

// The mono colour family depends on the taskbar's theme: a theme change followed by
// WM_SETTINGCHANGE, or by TaskbarCreated, lays the bars out again and draws them. (The window is
// moved away first: only a push puts it back at its placement.)
TEST(Shell_Bars, ThemeChangesAreTakenInAndDrawnOnSettingChangeAndShellRestart) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.set(DWORD{0});
  RunningVessa vessa(std::string(kSteadyItems) + "[appearance]\ncolor_scheme = \"family\"\ncolor_family = \"mono\"\n",
                     L"--debug");
  ASSERT_NE(vessa.bar, nullptr);
  const Placement placement{1192, 783, 80, 20};
  ASSERT_TRUE(wait_until_drawn(vessa.bar, placement));
  ASSERT_TRUE(wait_for_lines(vessa, "relayout ", 1));
  DWORD_PTR ignored = 0;

  SetWindowPos(vessa.bar, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  theme.set(DWORD{1});
  ASSERT_NE(SendMessageTimeoutW(vessa.bar, WM_SETTINGCHANGE, 0, 0, SMTO_BLOCK, 5000, &ignored), 0);
  // The line was written before the message returned; the pipe may take a moment.
  EXPECT_TRUE(wait_for_lines(vessa, "relayout ", 2, 2s));
  EXPECT_EQ(count_lines(vessa, "relayout "), 2u) << vessa.report();
  EXPECT_TRUE(wait_until_drawn(vessa.bar, placement, 2s));

  SetWindowPos(vessa.bar, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  theme.set(DWORD{0});
  const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  ASSERT_NE(SendMessageTimeoutW(vessa.bar, taskbar_created, 0, 0, SMTO_BLOCK, 5000, &ignored), 0);
  EXPECT_TRUE(wait_for_lines(vessa, "relayout ", 3, 2s));
  EXPECT_EQ(count_lines(vessa, "relayout "), 3u) << vessa.report();
  EXPECT_TRUE(wait_until_drawn(vessa.bar, placement, 2s));
  expect_frame_on_screen(steady_config(), Geometry{2, 14, std::nullopt, 3}, placement, 96, L"bars-theme.bmp");
  EXPECT_TRUE(vessa.closes_with_zero());
}

// --- Fake taskbars with a notification area -------------------------------------------

constexpr RECT kBottomTaskbar{0, 760, 1280, 800};
constexpr RECT kBottomTray{1100, 760, 1280, 800};

TEST(Plain_Bars, TrayLeftEndsTheBarsOffsetBeforeTheNotificationArea) {
  const struct {
    const char* name;
    RECT taskbar;
    RECT tray;
    const char* line;
    Geometry geometry;
    Placement placement;
    const wchar_t* artefact;
  } cases[] = {
      {"bottom", kBottomTaskbar, kBottomTray,
       "relayout mode=Overlay vertical=false dpi=96 container=1280x40 geometry=Geometry { thickness: 2, band: 32, "
       "icon_gap: None, line_inset: 5 } placement=Placement { x: 1012, y: 764, width: 80, height: 38 }",
       {2, 32, std::nullopt, 5}, {1012, 764, 80, 38}, L"bars-bottom.bmp"},
      {"top", RECT{0, 0, 1280, 30}, RECT{1000, 0, 1280, 30},
       "relayout mode=Overlay vertical=false dpi=96 container=1280x30 geometry=Geometry { thickness: 2, band: 24, "
       "icon_gap: None, line_inset: 5 } placement=Placement { x: 912, y: 3, width: 80, height: 30 }",
       {2, 24, std::nullopt, 5}, {912, 3, 80, 30}, L"bars-top.bmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FakeTaskbar taskbar(c.taskbar, c.tray);
    RunningVessa vessa(kSteadyItems, L"--debug");
    const auto line = vessa.process->wait_for_line("relayout ");
    ASSERT_TRUE(line.has_value()) << vessa.report();
    EXPECT_EQ(*line, c.line);
    ASSERT_NE(vessa.bar, nullptr);
    ASSERT_TRUE(wait_until_drawn(vessa.bar, c.placement));
    EXPECT_EQ(window_rect(vessa.bar).right, c.tray.left - 8);
    expect_frame_on_screen(steady_config(), c.geometry, c.placement, 96, c.artefact);
    EXPECT_TRUE(vessa.closes_with_zero());
  }
}

TEST(Plain_Bars, SettingChangeFollowsTheNotificationArea) {
  FakeTaskbar taskbar(kBottomTaskbar, kBottomTray);
  RunningVessa vessa("", L"--debug");
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(wait_until_drawn(vessa.bar, Placement{1012, 764, 80, 38}));

  // WM_SETTINGCHANGE carries a text pointer: it is sent, never posted.
  taskbar.move_tray(RECT{1050, 760, 1280, 800});
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutW(vessa.bar, WM_SETTINGCHANGE, 0, 0, SMTO_BLOCK, 5000, &ignored), 0);
  EXPECT_TRUE(wait_for_lines(vessa, "relayout ", 2, 2s));
  EXPECT_EQ(count_lines(vessa, "relayout "), 2u);
  EXPECT_TRUE(wait_until_drawn(vessa.bar, Placement{962, 764, 80, 38}));
  EXPECT_TRUE(vessa.closes_with_zero());
}

// A shell restart: the old taskbar goes, a new one comes (here at the top), and the program
// hears TaskbarCreated: it attaches to the new taskbar and draws the bars there.
TEST(Plain_Bars, TaskbarCreatedAttachesToTheNewTaskbar) {
  auto taskbar = std::make_unique<FakeTaskbar>(kBottomTaskbar, kBottomTray);
  RunningVessa vessa("", L"--debug");
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(wait_until_drawn(vessa.bar, Placement{1012, 764, 80, 38}));

  taskbar.reset();
  taskbar = std::make_unique<FakeTaskbar>(RECT{0, 0, 1280, 40}, RECT{1100, 0, 1280, 40});
  pump_for(500ms);  // Wine settles a new window's z-order a moment after showing it
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  // (The display change that the new taskbar causes may lay the bars out once before the
  // shell restart is heard, against the old taskbar's handle.)
  EXPECT_TRUE(vessa.process->wait_for_line(
      "relayout mode=Overlay vertical=false dpi=96 container=1280x40 geometry=Geometry { thickness: 2, band: 32, "
      "icon_gap: None, line_inset: 5 } placement=Placement { x: 1012, y: 4, width: 80, height: 38 }"))
      << vessa.report();
  EXPECT_TRUE(wait_until_drawn(vessa.bar, Placement{1012, 4, 80, 38}));
  EXPECT_EQ(GetWindow(taskbar->window(), GW_HWNDPREV), vessa.bar);
  EXPECT_TRUE(vessa.closes_with_zero());
}

// A child of the taskbar goes down with it when the shell restarts. The program carries on
// and, once the new taskbar announces itself, becomes a child of that one.
TEST(Plain_Bars, ChildModeSurvivesAShellRestartAndJoinsTheNewTaskbar) {
  auto taskbar = std::make_unique<FakeTaskbar>(kBottomTaskbar, kBottomTray);
  RunningVessa vessa("[behavior]\nattach_mode = \"child\"\n", L"--debug");
  ASSERT_TRUE(vessa.process->wait_for_line("relayout mode=Child").has_value()) << vessa.report();  // started
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_EQ(describe_window(vessa.bar).parent, taskbar->window());

  taskbar.reset();  // the shell goes down, and the bar window with it
  pump_for(500ms);
  ASSERT_FALSE(vessa.process->wait(200ms).has_value()) << "the program ended with the taskbar: " << vessa.report();
  const auto waiting = wait_for_bar_window(vessa.pid());
  ASSERT_TRUE(waiting.has_value()) << vessa.report();
  const WindowInfo waiting_info = describe_window(*waiting);
  EXPECT_TRUE(waiting_info.message_only) << std::hex << waiting_info.style << " parent " << waiting_info.parent;

  taskbar = std::make_unique<FakeTaskbar>(kBottomTaskbar, kBottomTray);
  pump_for(500ms);
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  // Moving a window to a new parent hides it for a moment and shows it again (SetParent does
  // so itself), so it is a visible child of the new taskbar once the move is over, not at the
  // moment its parent changes.
  const auto joined = [&] {
    const auto bar = wait_for_bar_window(vessa.pid(), 100ms);
    return bar && GetAncestor(*bar, GA_PARENT) == taskbar->window() &&
           (describe_window(*bar).style & (WS_CHILD | WS_VISIBLE)) == static_cast<DWORD>(WS_CHILD | WS_VISIBLE);
  };
  EXPECT_TRUE(wait_until(joined)) << vessa.report();
  // Laid out again in the new taskbar (the first layout's line, then this one).
  EXPECT_TRUE(wait_until([&] {
    std::size_t count = 0;
    for (const auto& line : vessa.process->output_lines()) count += line.rfind("relayout mode=Child", 0) == 0 ? 1 : 0;
    return count >= 2;
  })) << vessa.report();
  EXPECT_TRUE(vessa.closes_with_zero());
}

// In child mode the bars live in the taskbar's client area; the notification area is not
// looked at there, so tray_left places like right. Wine shows no pixels of a child window of
// another process: the parent, the styles and the diagnostics say where it went.
TEST(Plain_Bars, ChildModeIsAChildOfTheTaskbarPlacedInItsClientArea) {
  FakeTaskbar taskbar(kBottomTaskbar, kBottomTray);
  RunningVessa vessa("[behavior]\nattach_mode = \"child\"\n", L"--debug");
  const auto line = vessa.process->wait_for_line("relayout ");
  ASSERT_TRUE(line.has_value()) << vessa.report();
  EXPECT_EQ(*line,
            "relayout mode=Child vertical=false dpi=96 container=1280x40 geometry=Geometry { thickness: 2, band: 32, "
            "icon_gap: None, line_inset: 5 } placement=Placement { x: 1192, y: 4, width: 80, height: 38 }");
  ASSERT_NE(vessa.bar, nullptr);
  const WindowInfo info = describe_window(vessa.bar);
  EXPECT_EQ(info.parent, taskbar.window());
  EXPECT_EQ(info.style & (WS_CHILD | WS_VISIBLE | WS_POPUP), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
  EXPECT_EQ(info.ex_style & (WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW), static_cast<DWORD>(WS_EX_LAYERED));
  EXPECT_TRUE(vessa.closes_with_zero());
}

// --- Following the taskbar between reattach checks ----------------------------------------

bool topmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Above the taskbar in its band, and no visible window over the bars lies between them (one
// beside the bars covers nothing).
bool directly_above_in_its_band(HWND bar, HWND taskbar) {
  const RECT bars = window_rect(bar);
  HWND above = GetWindow(taskbar, GW_HWNDPREV);
  for (RECT rect{}, overlap{}; above != nullptr && above != bar; above = GetWindow(above, GW_HWNDPREV)) {
    if (IsWindowVisible(above) && GetWindowRect(above, &rect) && IntersectRect(&overlap, &rect, &bars)) return false;
  }
  return above == bar && topmost(bar) == topmost(taskbar);
}

void lift(HWND window, HWND insert_after) {
  SetWindowPos(window, insert_after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A click lifts the taskbar over the bars; a full-screen program comes to the front and the
// taskbar leaves the topmost band a moment later; the program ends and the taskbar is topmost
// again. The same happens to a secondary taskbar and its mirror. The reattach check runs once
// a minute: the bars follow at the next update tick, or at once when the shell raises its
// events (which Wine does not: the test raises them as the shell would). A change of z-order
// alone lays nothing out again.
TEST(Plain_Bars, TheBarsFollowTheTaskbarAtTheNextTickOrAtTheShellsEvent) {
  const struct {
    const char* name;
    const char* config;
    bool events;
  } runs[] = {
      {"every 500 ms tick", "update_interval_ms = 500\n", false},
      {"events, ticks once a minute", "update_interval_ms = 60000\n", true},
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(run.name);
    FakeTaskbar taskbar(kBottomTaskbar, kBottomTray);
    FakeTaskbar secondary(RECT{0, 0, 1280, 30}, std::nullopt, FakeTaskbar::Kind::Secondary);
    const HWND t = taskbar.window();
    const HWND s = secondary.window();
    RunningVessa vessa(std::string("[general]\ndisplays = \"all\"\n") + run.config +
                           "[behavior]\nreattach_check_ms = 60000\n",
                       L"--debug");
    ASSERT_NE(vessa.bar, nullptr);
    ASSERT_TRUE(wait_until_drawn(vessa.bar, Placement{1012, 764, 80, 38}));
    const auto mirror = wait_for_window(vessa.pid(), L"VessaMirrorWindow");
    ASSERT_TRUE(mirror.has_value()) << vessa.report();
    const auto both_above = [&] {
      return directly_above_in_its_band(vessa.bar, t) && directly_above_in_its_band(*mirror, s);
    };
    ASSERT_TRUE(wait_until(both_above));
    const auto change = [&](HWND insert_after) {
      lift(t, insert_after);
      lift(s, insert_after);
    };
    const auto follows = [&](const char* what) { EXPECT_TRUE(wait_until(both_above, 1s)) << what; };

    change(HWND_TOPMOST);  // a click on the taskbar
    if (run.events) {
      EXPECT_FALSE(both_above());  // nothing else puts the bars back
      raise_win_event(EVENT_SYSTEM_FOREGROUND, t);
    }
    follows("lifted over the bars");

    // The shell takes the taskbar out of the topmost band a moment after the program came to
    // the front: only a look after the event sees it.
    if (run.events) {
      raise_win_event(EVENT_SYSTEM_FOREGROUND, t);
      pump_for(150ms);
    }
    change(HWND_NOTOPMOST);
    follows("out of the topmost band");
    EXPECT_FALSE(topmost(vessa.bar) || topmost(*mirror));

    change(HWND_TOPMOST);
    if (run.events) raise_win_event(EVENT_OBJECT_REORDER, GetDesktopWindow(), OBJID_CLIENT);
    follows("back in the topmost band");
    EXPECT_TRUE(topmost(vessa.bar) && topmost(*mirror));

    EXPECT_EQ(count_lines(vessa, "relayout "), 1u) << vessa.report();

    // A new tray icon widens the notification area by 100 pixels: the bars end before it again.
    taskbar.move_tray(RECT{1000, 760, 1280, 800});
    if (run.events) raise_win_event(EVENT_OBJECT_LOCATIONCHANGE, taskbar.tray());
    EXPECT_TRUE(wait_until([&] { return window_rect(vessa.bar).right == 1000 - 8; }, 1s)) << "the notification area";

    // A tool hides the taskbars: the bars and the mirror hide with them and come back with them.
    const auto shown = [&](bool visible) {
      return (IsWindowVisible(vessa.bar) != FALSE) == visible && (IsWindowVisible(*mirror) != FALSE) == visible;
    };
    ShowWindow(t, SW_HIDE);
    ShowWindow(s, SW_HIDE);
    if (run.events) raise_win_event(EVENT_OBJECT_HIDE, t);
    EXPECT_TRUE(wait_until([&] { return shown(false); }, 1s)) << "hidden with the taskbars";
    ShowWindow(t, SW_SHOWNOACTIVATE);
    ShowWindow(s, SW_SHOWNOACTIVATE);
    if (run.events) raise_win_event(EVENT_OBJECT_SHOW, t);
    EXPECT_TRUE(wait_until([&] { return shown(true) && both_above(); }, 1s)) << "back with the taskbars";

    // Another tool that keeps itself directly above the taskbar, beside the bars, and the bars
    // leave each other be: no trading places on every tick.
    if (!run.events) {
      // Wine may restack a taskbar it has just shown once more as it handles the show's window
      // system events, on this thread: the neighbour comes once that has settled.
      pump_for(600ms);
      ASSERT_TRUE(wait_until(both_above, 1s));
      const UniqueHwnd neighbour(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"Static", L"",
                                                 WS_POPUP, 600, 760, 100, 40, nullptr, nullptr, nullptr, nullptr));
      ShowWindow(neighbour.get(), SW_SHOWNOACTIVATE);
      int trades = 0;  // the bars came between the neighbour and the taskbar since the last step
      for (int step = 0; step < 50; ++step, pump_for(100ms)) {  // 5 s
        const HWND above = GetWindow(t, GW_HWNDPREV);
        if (above == neighbour.get()) continue;
        if (step > 0) ++trades;
        lift(neighbour.get(), above);
      }
      EXPECT_EQ(trades, 0) << "the bars traded places with another tool above the taskbar";
      EXPECT_TRUE(both_above());
    }
    EXPECT_EQ(count_lines(vessa, "relayout "), 2u) << vessa.report();
    EXPECT_TRUE(vessa.closes_with_zero());
  }
}

bool owned_by(HWND window, DWORD pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  return owner == pid;
}

struct WindowCount {
  DWORD pid = 0;
  std::size_t count = 0;
};

BOOL CALLBACK count_owned(HWND window, LPARAM data) {
  auto& c = *reinterpret_cast<WindowCount*>(data);
  if (owned_by(window, c.pid)) ++c.count;
  return TRUE;
}

// Every window of process `pid`: top-level, children of any window, and message-only.
std::size_t count_windows(DWORD pid) {
  WindowCount windows{pid};
  EnumWindows(count_owned, reinterpret_cast<LPARAM>(&windows));
  for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
    EnumChildWindows(window, count_owned, reinterpret_cast<LPARAM>(&windows));
  }
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    if (owned_by(window, pid)) ++windows.count;
  }
  return windows.count;
}

// Ten thousand update ticks, as fast as the window takes them, interleaved with notifications
// that really change the layout, so that the run keeps drawing: after every ten ticks the
// notification area moves (the window moves and is drawn again) or the taskbar changes its
// height (a window of another size: a new bitmap and DC). The process's GDI and USER objects,
// its windows and its working set stay where they were after the first hundred ticks (a
// bitmap kept per layout would also raise the working set by 12 KB each time).
TEST(Plain_Bars, TenThousandTicksLeakNothing) {
  FakeTaskbar taskbar(kBottomTaskbar, kBottomTray);
  RunningVessa vessa("", L"--debug");
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(wait_until_drawn(vessa.bar, Placement{1012, 764, 80, 38}));

  constexpr int kRounds = 1000;
  constexpr int kTicksPerRound = 10;
  ProcessFigures after_first_thousand;
  std::size_t windows_after_first_thousand = 0;
  std::size_t layouts = count_lines(vessa, "relayout ");
  for (int round = 0; round <= kRounds; ++round) {
    if (round < kRounds) {
      for (int tick = 0; tick < kTicksPerRound; ++tick) ASSERT_TRUE(PostMessageW(vessa.bar, WM_TIMER, 1, 0));
    }
    const bool first_half = (round / 2) % 2 == 0;
    if (round % 2 == 0) {
      taskbar.move_tray(first_half ? RECT{1060, 760, 1280, 800} : kBottomTray);
    } else {
      taskbar.move(RECT{0, first_half ? 770 : 760, 1280, 800});  // the display change is sent at once
    }
    // A posted notification is handled after the ticks posted before it.
    PostMessageW(vessa.bar, WM_DISPLAYCHANGE, 0, 0);
    ++layouts;
    ASSERT_TRUE(wait_for_lines(vessa, "relayout ", layouts, 20s)) << "round " << round;
    // Measured after a thousand ticks, when what the first scans of the taskbar's buttons load
    // once (UI Automation where a Wine has it) is in: growth after that is per tick or layout.
    if (round == 1000 / kTicksPerRound - 1) {
      after_first_thousand = settled_process_figures(vessa.process->handle());
      windows_after_first_thousand = count_windows(vessa.pid());
    }
  }
  const ProcessFigures at_end = settled_process_figures(vessa.process->handle());
  std::printf("after 1000 ticks: %lu GDI, %lu USER, %zu windows, %zu bytes; after %d: %lu GDI, %lu USER, %zu windows, %zu bytes\n",
              after_first_thousand.gdi_objects, after_first_thousand.user_objects, windows_after_first_thousand,
              after_first_thousand.working_set, kRounds * kTicksPerRound, at_end.gdi_objects, at_end.user_objects,
              count_windows(vessa.pid()), at_end.working_set);
  EXPECT_EQ(at_end.gdi_objects, after_first_thousand.gdi_objects);
  EXPECT_EQ(at_end.user_objects, after_first_thousand.user_objects);
  EXPECT_EQ(count_windows(vessa.pid()), windows_after_first_thousand);
  EXPECT_GT(windows_after_first_thousand, 0u);
  // A little room for the heap's own growth; a kept bitmap per layout would add 6 MB.
  EXPECT_LE(at_end.working_set, after_first_thousand.working_set + 256 * 1024);
  EXPECT_TRUE(vessa.closes_with_zero());
}

// --- 144 DPI --------------------------------------------------------------------------

TEST(Dpi144_Bars, EveryLengthScales) {
  RunningVessa vessa(kSteadyItems, L"--debug");
  const auto line = vessa.process->wait_for_line("relayout ");
  ASSERT_TRUE(line.has_value()) << vessa.report();
  // A 28-pixel taskbar is 18 units thick: band 12; length (64 + 16) × 1.5; thickness
  // (6 + 12) × 1.5 − 0.5; offset 8 × 1.5 from the end; 3 × 1.5 − 0.5 down.
  EXPECT_EQ(*line,
            "relayout mode=Overlay vertical=false dpi=144 container=1280x28 geometry=Geometry { thickness: 2, band: 12, "
            "icon_gap: None, line_inset: 2 } placement=Placement { x: 1148, y: 776, width: 120, height: 27 }");
  ASSERT_NE(vessa.bar, nullptr);
  const Placement placement{1148, 776, 120, 27};
  ASSERT_TRUE(wait_until_drawn(vessa.bar, placement));
  expect_frame_on_screen(steady_config(), Geometry{2, 12, std::nullopt, 2}, placement, 144, L"bars-144.bmp");

  // Lines of 3 pixels (2 × 1.5) in a band of 18 rows (12 × 1.5) from row 4, inset by 3: three
  // lines one row apart from row 7.
  const ScreenShot shot = capture_screen();
  const auto screen = [&](int x, int y) { return shot.at(placement.x + x, placement.y + y); };
  for (const int row : {7, 8, 9, 11, 12, 13, 15, 16, 17}) EXPECT_EQ(screen(12, row), 0x0F0F0Fu) << row;
  for (const int row : {6, 10, 14, 18}) EXPECT_EQ(screen(12, row), 0x000000u) << row;
  EXPECT_EQ(screen(11, 15), 0x000000u);   // the bars start 8 × 1.5 = 12 pixels in
  EXPECT_EQ(screen(107, 15), 0x0F0F0Fu);  // and end 12 before the end
  EXPECT_EQ(screen(108, 15), 0x000000u);
  EXPECT_TRUE(vessa.closes_with_zero());
}

}  // namespace
}  // namespace vessa::test
