// Mirrors of the bars on secondary taskbars, with the real vessa.exe in a desktop without a
// taskbar of its own: a fake primary taskbar and two fake secondary ones (one with a
// notification area). Wine has one display, so every taskbar's band is the same strip of its
// work area (the bottom one under Wine 8, the top one under Wine 10); the mirrors differ by
// where their taskbar's clock is.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "config/colors.hpp"
#include "config/theme_win.hpp"
#include "fake_taskbar_win.hpp"
#include "harness_win.hpp"
#include "menus_win.hpp"
#include "pointer_win.hpp"
#include "render/bar_frame.hpp"
#include "render/mirror_list.hpp"
#include "render/placement.hpp"
#include "render/taskbar_win.hpp"
#include "screen_check_win.hpp"

namespace vessa::test {
namespace {

constexpr RECT kPrimary{0, 760, 1280, 800};
constexpr RECT kPrimaryTray{1100, 760, 1280, 800};
constexpr RECT kSecondaryWithClock{0, 0, 1280, 30};
constexpr RECT kSecondaryClock{600, 0, 700, 30};
constexpr RECT kSecondaryWithout{0, 40, 1280, 70};

// Under Wine only the processor counter exists: the disk, network and graphics bars stay at 0,
// a frame known in advance. An opaque background takes the pointer on every pixel.
constexpr char kConfig[] =
    "[general]\ndisplays = \"all\"\nlanguage = \"en\"\n[metrics]\nitems = [\"disk\", \"net\", \"gpu\"]\n"
    "[appearance]\nbackground_alpha = 255\n";

Config mirror_config() {
  Config config;
  config.general.displays = Displays::All;
  config.general.language = Language::En;
  config.metrics.items = {MetricKind::Disk, MetricKind::Net, MetricKind::Gpu};
  config.appearance.background_alpha = 255;
  return config;
}

MetricSample steady_sample() {
  MetricSample sample;
  sample.bars = {{0, MetricKind::Disk}, {0, MetricKind::Net}, {0, MetricKind::Gpu}};
  return sample;
}

// Where a mirror over `taskbar` belongs, from the taskbar as this process sees it.
struct Expected {
  Rect band;
  PlacementResult result;
};
Expected expected_for(const FakeTaskbar& taskbar) {
  const std::optional<RECT> band = taskbar_band(taskbar.window());
  EXPECT_TRUE(band.has_value());
  std::optional<Rect> clock;
  if (const auto area = notification_area_rect(taskbar.window())) clock = to_rect(*area);
  const Rect box = band ? to_rect(*band) : Rect{};
  return {box, compute_placement(mirror_config(), box, 96, 3, clock)};
}

bool at(HWND window, const Placement& placement) {
  RECT r{};
  return GetWindowRect(window, &r) && r.left == placement.x && r.top == placement.y &&
         r.right - r.left == placement.width && r.bottom - r.top == placement.height;
}

POINT centre(const Placement& p) { return POINT{p.x + p.width / 2, p.y + p.height / 2}; }

bool has_line(const RunningVessa& vessa, const std::string& line) {
  const auto lines = vessa.process->output_lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The desktop of these tests and vessa.exe started in it, with both mirrors drawn.
struct MirrorDesktop {
  FakeTaskbar primary{kPrimary, kPrimaryTray};
  std::unique_ptr<FakeTaskbar> with_clock =
      std::make_unique<FakeTaskbar>(kSecondaryWithClock, kSecondaryClock, FakeTaskbar::Kind::Secondary);
  std::unique_ptr<FakeTaskbar> without_clock =
      std::make_unique<FakeTaskbar>(kSecondaryWithout, std::nullopt, FakeTaskbar::Kind::Secondary);
  RunningVessa vessa{kConfig, L"--debug"};  // started once the taskbars are there

  [[nodiscard]] std::vector<HWND> mirrors() const { return find_windows(vessa.pid(), L"VessaMirrorWindow"); }
  // The mirror window at `placement`, once it is drawn there.
  [[nodiscard]] std::optional<HWND> mirror_at(const Placement& placement) const {
    std::optional<HWND> found;
    wait_until([&] {
      for (HWND mirror : mirrors()) {
        if (at(mirror, placement)) found = mirror;
      }
      return found.has_value();
    });
    return found;
  }
  void relayout() const {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(vessa.bar, WM_DISPLAYCHANGE, 0, 0, SMTO_BLOCK, 5000, &ignored);
  }
};

void expect_frame_at(const Expected& expected, const wchar_t* artefact) {
  const Config config = mirror_config();
  const Placement& p = expected.result.placement;
  const FrameModel frame = build_frame(config, resolve_colors(config.appearance, taskbar_is_dark()), steady_sample(),
                                       expected.result.geometry, p.width, p.height, 96, kNoIcon, std::nullopt);
  ScreenShot shot;
  const std::string differences = wait_for_screen(p.x, p.y, expected_pixels(frame, p.width, p.height), &shot);
  if (!differences.empty()) shot.save_bmp(artefact_folder() / artefact);
  EXPECT_EQ(differences, "") << "screenshot: " << utf8(artefact);
}

TEST(Plain_Mirrors, EachSecondaryTaskbarGetsAMirrorDrawnAtItsPlacement) {
  MirrorDesktop desktop;
  ASSERT_NE(desktop.vessa.bar, nullptr);
  const Expected with_clock = expected_for(*desktop.with_clock);
  const Expected without_clock = expected_for(*desktop.without_clock);
  // The clock moves one mirror away from the end of the strip; the other ends like right.
  ASSERT_NE(with_clock.result.placement, without_clock.result.placement);

  const auto first = desktop.mirror_at(with_clock.result.placement);
  const auto second = desktop.mirror_at(without_clock.result.placement);
  ASSERT_TRUE(first && second) << desktop.vessa.report();
  EXPECT_EQ(desktop.mirrors().size(), 2u);
  for (HWND mirror : {*first, *second}) {
    const WindowInfo info = describe_window(mirror);
    EXPECT_TRUE(info.visible);
    EXPECT_EQ(info.parent, GetDesktopWindow());
    EXPECT_EQ(info.style & (WS_POPUP | WS_CHILD), static_cast<DWORD>(WS_POPUP));
    const DWORD ex = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    EXPECT_EQ(info.ex_style & ex, ex);
    EXPECT_EQ(window_text(mirror), L"VESSA");
  }
  expect_frame_at(with_clock, L"mirror-with-clock.bmp");
  expect_frame_at(without_clock, L"mirror-without-clock.bmp");

  const auto placement_line = [](const Expected& e) {
    return format_mirror_placement_line(false, 96, e.band, e.result.placement);
  };
  EXPECT_TRUE(desktop.vessa.process->wait_for_line("副ディスプレイの複製: 2 枚").has_value()) << desktop.vessa.report();
  EXPECT_TRUE(has_line(desktop.vessa, "副タスクバーの時計: Rect { left: 600, top: 0, right: 700, bottom: 30 }"))
      << desktop.vessa.report();
  EXPECT_TRUE(has_line(desktop.vessa, "副タスクバーの時計: None")) << desktop.vessa.report();
  EXPECT_TRUE(has_line(desktop.vessa, placement_line(with_clock))) << desktop.vessa.report();
  EXPECT_TRUE(has_line(desktop.vessa, placement_line(without_clock))) << desktop.vessa.report();
  EXPECT_TRUE(desktop.vessa.closes_with_zero());
}

// A mirror that goes sends no leave: the hover over it ends with it, and only that hover.
TEST(Plain_Mirrors, DestroyingASecondaryTaskbarRemovesItsMirrorAndItsHoverAtTheNextLayout) {
  move_pointer(640, 300);  // a mirror made under the resting pointer may take no hover later
  MirrorDesktop desktop;
  ASSERT_NE(desktop.vessa.bar, nullptr);
  const Expected without_clock = expected_for(*desktop.without_clock);
  const auto stays = desktop.mirror_at(without_clock.result.placement);
  ASSERT_TRUE(stays.has_value()) << desktop.vessa.report();
  ASSERT_TRUE(desktop.mirror_at(expected_for(*desktop.with_clock).result.placement).has_value());
  move_pointer(centre(without_clock.result.placement).x, centre(without_clock.result.placement).y);
  const auto tooltip_shown = [&] { return !visible_windows(desktop.vessa.pid(), L"VessaTooltipWindow").empty(); };
  ASSERT_TRUE(wait_until(tooltip_shown)) << "no tooltip over the mirror";

  desktop.with_clock.reset();
  desktop.relayout();
  EXPECT_EQ(desktop.mirrors(), std::vector<HWND>{*stays});
  EXPECT_TRUE(at(*stays, without_clock.result.placement));
  EXPECT_TRUE(tooltip_shown()) << "another mirror's end took this hover along";
  desktop.without_clock.reset();
  desktop.relayout();
  EXPECT_FALSE(tooltip_shown()) << "the tooltip outlived its mirror";
  move_pointer(640, 300);
  EXPECT_TRUE(desktop.vessa.closes_with_zero());
}

// Another program may close a mirror window (WM_CLOSE ends any window): the next layout makes
// it again and draws it.
TEST(Plain_Mirrors, AMirrorClosedByAnotherProgramIsMadeAgainAtTheNextLayout) {
  MirrorDesktop desktop;
  ASSERT_NE(desktop.vessa.bar, nullptr);
  const Placement placement = expected_for(*desktop.with_clock).result.placement;
  const auto closed = desktop.mirror_at(placement);
  ASSERT_TRUE(closed.has_value()) << desktop.vessa.report();
  PostMessageW(*closed, WM_CLOSE, 0, 0);
  ASSERT_TRUE(wait_until([&] { return IsWindow(*closed) == FALSE; }));

  desktop.relayout();
  EXPECT_EQ(desktop.mirrors().size(), 2u);
  EXPECT_TRUE(desktop.mirror_at(placement).has_value());
  EXPECT_TRUE(desktop.vessa.closes_with_zero());
}

TEST(Plain_Mirrors, HoveringAMirrorShowsTheTooltipAgainstIt) {
  MirrorDesktop desktop;
  ASSERT_NE(desktop.vessa.bar, nullptr);
  const Placement mirror = expected_for(*desktop.with_clock).result.placement;
  ASSERT_TRUE(desktop.mirror_at(mirror).has_value()) << desktop.vessa.report();
  move_pointer(640, 300);
  // A move the mirror handles once the pointer has gone shows nothing: no leave would hide it.
  SendMessageW(*desktop.mirror_at(mirror), WM_MOUSEMOVE, 0, 0);
  EXPECT_FALSE(wait_until([&] { return !visible_windows(desktop.vessa.pid(), L"VessaTooltipWindow").empty(); }, 500ms));
  move_pointer(centre(mirror).x, centre(mirror).y);
  std::vector<HWND> tips;
  ASSERT_TRUE(wait_until([&] { return !(tips = visible_windows(desktop.vessa.pid(), L"VessaTooltipWindow")).empty(); }))
      << "no tooltip over the mirror";
  // Centred above this mirror, not above the bar window (which ends before the primary clock).
  const RECT tip = describe_window(tips.front()).rect;
  const long width = tip.right - tip.left;
  EXPECT_EQ(tip.left, std::clamp<long>(mirror.x + (mirror.width - width) / 2, 0, 1280 - width));
  // Above the mirror, or below it where above would leave the screen: Wine 10 takes the top
  // taskbar's strip for this mirror's band, Wine 8 the bottom one.
  if (mirror.y - 6 - (tip.bottom - tip.top) >= 0) {
    EXPECT_EQ(tip.bottom, mirror.y - 6);
  } else {
    EXPECT_EQ(tip.top, mirror.y + mirror.height + 6);
  }

  move_pointer(640, 300);
  EXPECT_TRUE(wait_until([&] { return visible_windows(desktop.vessa.pid(), L"VessaTooltipWindow").empty(); }))
      << "the tooltip stayed after the pointer left";
  EXPECT_TRUE(desktop.vessa.closes_with_zero());
}

// Opens the bars' menu with a right click on `where` (Wine loses a click now and then).
std::optional<HWND> right_click_menu(DWORD pid, POINT where) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    click(where.x, where.y, true);
    if (const auto menu = wait_for_menu(pid, 2s)) return menu;
  }
  return std::nullopt;
}

// Show is the menu's first item and Exit its last.
POINT first_item(HWND menu) {
  const RECT r = describe_window(menu).rect;
  return POINT{(r.left + r.right) / 2, r.top + 10};
}
POINT last_item(HWND menu) {
  const RECT r = describe_window(menu).rect;
  return POINT{(r.left + r.right) / 2, r.bottom - 10};
}

TEST(Plain_Mirrors, ShowFromAMirrorsMenuHidesAllThreeAndShowsThemAgainThenExitEnds) {
  MirrorDesktop desktop;
  ASSERT_NE(desktop.vessa.bar, nullptr);
  const Placement mirror = expected_for(*desktop.without_clock).result.placement;
  ASSERT_TRUE(desktop.mirror_at(mirror).has_value()) << desktop.vessa.report();
  ASSERT_TRUE(desktop.mirror_at(expected_for(*desktop.with_clock).result.placement).has_value());
  const auto all_visible = [&](bool visible) {
    std::vector<HWND> windows = desktop.mirrors();
    windows.push_back(desktop.vessa.bar);
    return windows.size() == 3 && std::all_of(windows.begin(), windows.end(), [&](HWND w) {
             return (IsWindowVisible(w) != FALSE) == visible;
           });
  };
  ASSERT_TRUE(all_visible(true));

  auto menu = right_click_menu(desktop.vessa.pid(), centre(mirror));
  ASSERT_TRUE(menu.has_value()) << "no menu after a right click on a mirror";
  click(first_item(*menu).x, first_item(*menu).y);
  EXPECT_TRUE(wait_until([&] { return all_visible(false); }, 5s)) << "Show did not hide the bars and mirrors";

  // Hidden, the bars take no click: the bar window's own menu (as from the tray icon).
  move_pointer(640, 300);
  PostMessageW(desktop.vessa.bar, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(desktop.vessa.bar), MAKELPARAM(-1, -1));
  menu = wait_for_menu(desktop.vessa.pid());
  ASSERT_TRUE(menu.has_value());
  click(first_item(*menu).x, first_item(*menu).y);
  EXPECT_TRUE(wait_until([&] { return all_visible(true); }, 5s)) << "Show did not bring them back";
  EXPECT_TRUE(desktop.mirror_at(mirror).has_value());

  menu = right_click_menu(desktop.vessa.pid(), centre(mirror));
  ASSERT_TRUE(menu.has_value()) << "no menu after a right click on a mirror";
  click(last_item(*menu).x, last_item(*menu).y);
  EXPECT_EQ(desktop.vessa.process->wait(), std::optional<DWORD>(0));
}

// The shell makes a taskbar before its notification area: a layout in between finds no clock
// there. The next layout finds the area and places the mirror before it at once.
TEST(Plain_Mirrors, ANotificationAreaThatAppearsLaterIsTakenInAtTheNextLayout) {
  MirrorDesktop desktop;
  ASSERT_NE(desktop.vessa.bar, nullptr);
  desktop.with_clock.reset();
  FakeTaskbar late(kSecondaryWithClock, RECT{700, 0, 700, 30}, FakeTaskbar::Kind::Secondary);  // empty for now
  desktop.relayout();
  late.move_tray(kSecondaryClock);
  desktop.relayout();
  const Placement placement = expected_for(late).result.placement;
  const auto placed = [&] { return std::ranges::any_of(desktop.mirrors(), [&](HWND m) { return at(m, placement); }); };
  EXPECT_TRUE(wait_until(placed, 1s))
      << desktop.vessa.report();
  EXPECT_TRUE(desktop.vessa.closes_with_zero());
}

// A secondary taskbar that comes and goes two hundred times: each time a mirror window with
// its surface is made and drawn, then destroyed. The process's GDI and USER objects end where
// they were after the first ten rounds.
TEST(Plain_Mirrors, TwoHundredComingsAndGoingsLeakNothing) {
  // Away from where the mirror comes: a pointer left there by an earlier test would hover it,
  // and the tooltip would count as one more window while it is there.
  move_pointer(640, 300);
  MirrorDesktop desktop;
  ASSERT_NE(desktop.vessa.bar, nullptr);
  desktop.with_clock.reset();
  desktop.without_clock.reset();
  desktop.relayout();
  ASSERT_TRUE(desktop.mirrors().empty());

  const Placement placement = [] {
    const FakeTaskbar probe(kSecondaryWithClock, kSecondaryClock, FakeTaskbar::Kind::Secondary);
    return expected_for(probe).result.placement;
  }();
  desktop.relayout();
  ProcessFigures with_mirror;
  ProcessFigures after_ten;
  for (int round = 1; round <= 200; ++round) {
    {
      const FakeTaskbar secondary(kSecondaryWithClock, kSecondaryClock, FakeTaskbar::Kind::Secondary);
      desktop.relayout();
      const auto mirrors = desktop.mirrors();
      ASSERT_EQ(mirrors.size(), 1u) << "round " << round;
      // The first push may show a moment after the layout that made it.
      ASSERT_TRUE(wait_until([&] { return at(mirrors.front(), placement); }, 2s))
          << "round " << round << ": not drawn at " << format_placement(placement);
      if (round == 10) with_mirror = settled_process_figures(desktop.vessa.process->handle());
    }
    desktop.relayout();
    ASSERT_TRUE(desktop.mirrors().empty()) << "round " << round;
    if (round == 10) after_ten = settled_process_figures(desktop.vessa.process->handle());
  }
  const ProcessFigures at_end = settled_process_figures(desktop.vessa.process->handle());
  // The counts see a mirror: its window, and its surface's DC and bitmap.
  EXPECT_EQ(with_mirror.user_objects, after_ten.user_objects + 1);
  EXPECT_GE(with_mirror.gdi_objects, after_ten.gdi_objects + 2);
  // Nothing grows per round: a kept surface would add two objects a round. Wine's window-DC
  // cache may grow once, by a DC, a region and a bitmap, at any round.
  EXPECT_LE(at_end.gdi_objects, after_ten.gdi_objects + 3);
  EXPECT_EQ(at_end.user_objects, after_ten.user_objects);
  EXPECT_TRUE(desktop.vessa.closes_with_zero());
}

}  // namespace
}  // namespace vessa::test
