// The real program's tooltip when the tray icon is hovered. Wine never sends NIN_POPUPOPEN
// or NIN_POPUPCLOSE, so the test sends them as the shell would.
#include <gtest/gtest.h>

#include "tray_support.hpp"

namespace vessa::test {
namespace {

// Memory and network only: the rows are Memory, Receive and Send whatever the machine has
// (per-disk rows need two physical disks, which Wine does not report). The bars sit at the
// left end, away from the tray icons and the pointer positions used here, so that hovering
// the bars never competes with the tray icon's hover.
constexpr char kConfig[] =
    "[general]\nlanguage = \"en\"\n[layout]\nanchor = \"left\"\n[metrics]\nitems = [\"memory\", \"net\"]\n";

TEST(Shell_TrayTooltip, PopupOpenShowsTheTooltipAboveTheCursorAndPopupCloseRemovesIt) {
  RunningVessa vessa(kConfig);
  ASSERT_NE(vessa.bar, nullptr);
  move_pointer(640, 790);
  post_tray_event(vessa.bar, NIN_POPUPOPEN, POINT{640, 790});
  const auto tooltip = vessa.tooltip();
  ASSERT_TRUE(tooltip.has_value()) << "no tooltip after NIN_POPUPOPEN";

  const WindowInfo info = describe_window(*tooltip);
  const DWORD ex_styles = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  EXPECT_EQ(info.ex_style & ex_styles, ex_styles);
  const SIZE size = memory_and_network_tooltip_size();
  EXPECT_EQ(info.rect.right - info.rect.left, size.cx);
  EXPECT_EQ(info.rect.bottom - info.rect.top, size.cy);
  EXPECT_EQ(info.rect.left, 640 - size.cx / 2);  // centred on the cursor
  EXPECT_EQ(info.rect.bottom, 790 - 6);          // above it: the taskbar is horizontal

  post_tray_event(vessa.bar, NIN_POPUPCLOSE, POINT{640, 790});
  EXPECT_TRUE(vessa.no_tooltip()) << "NIN_POPUPCLOSE left the tooltip";
}

// Another program may close the tooltip window: the next hover makes a new one.
TEST(Shell_TrayTooltip, ATooltipWindowClosedFromOutsideIsMadeAgain) {
  RunningVessa vessa(kConfig);
  ASSERT_NE(vessa.bar, nullptr);
  move_pointer(640, 790);
  post_tray_event(vessa.bar, NIN_POPUPOPEN, POINT{640, 790});
  const auto first = vessa.tooltip();
  ASSERT_TRUE(first.has_value()) << "no tooltip after NIN_POPUPOPEN";
  PostMessageW(*first, WM_CLOSE, 0, 0);
  ASSERT_TRUE(vessa.no_tooltip()) << "WM_CLOSE left the tooltip window";

  post_tray_event(vessa.bar, NIN_POPUPOPEN, POINT{640, 790});
  EXPECT_TRUE(vessa.tooltip().has_value()) << "no tooltip after its window was closed from outside";
  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
}

// A shell that goes down while the icon's tooltip shows never sends NIN_POPUPCLOSE.
TEST(Shell_TrayTooltip, TaskbarCreatedEndsTheTrayIconsHover) {
  RunningVessa vessa(kConfig);
  ASSERT_NE(vessa.bar, nullptr);
  move_pointer(640, 790);
  post_tray_event(vessa.bar, NIN_POPUPOPEN, POINT{640, 790});
  ASSERT_TRUE(vessa.tooltip().has_value()) << "no tooltip after NIN_POPUPOPEN";
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(vessa.bar, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_BLOCK, 5000, &ignored);
  EXPECT_TRUE(vessa.no_tooltip()) << "the tooltip outlived the shell";
}

TEST(Shell_TrayTooltip, NearTheScreenEdgeTheTooltipStaysOnTheMonitor) {
  RunningVessa vessa(kConfig);
  ASSERT_NE(vessa.bar, nullptr);
  move_pointer(kFirstTrayIconCentre.x, kFirstTrayIconCentre.y);
  post_tray_event(vessa.bar, NIN_POPUPOPEN, kFirstTrayIconCentre);
  const auto tooltip = vessa.tooltip();
  ASSERT_TRUE(tooltip.has_value());
  const RECT rect = describe_window(*tooltip).rect;
  EXPECT_EQ(rect.right, 1280);
  EXPECT_EQ(rect.bottom, kFirstTrayIconCentre.y - 6);
}

TEST(Shell_TrayTooltip, WithTheBarsHiddenTheTrayIconStillShowsItButTheBarDoesNot) {
  RunningVessa vessa(kConfig);
  ASSERT_NE(vessa.bar, nullptr);
  // Hide the bars with Show from the bars' own menu, opened where the pointer is.
  move_pointer(600, 500);
  PostMessageW(vessa.bar, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(vessa.bar), MAKELPARAM(600, 500));
  const auto menu = wait_for_menu(vessa.pid());
  ASSERT_TRUE(menu.has_value());
  RECT menu_rect{};
  GetWindowRect(*menu, &menu_rect);
  click(menu_rect.left + 40, menu_rect.top + 3 + 8);  // the first item, "Show"
  ASSERT_TRUE(wait_until([&] { return !IsWindowVisible(vessa.bar); }, 5s));

  // Hovering the hidden bar: nothing.
  PostMessageW(vessa.bar, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_FALSE(vessa.tooltip(500ms).has_value());
  PostMessageW(vessa.bar, WM_MOUSELEAVE, 0, 0);

  move_pointer(640, 790);
  post_tray_event(vessa.bar, NIN_POPUPOPEN, POINT{640, 790});
  const auto tooltip = vessa.tooltip();
  ASSERT_TRUE(tooltip.has_value()) << "hidden bars must not keep the tray icon's tooltip away";
  EXPECT_EQ(describe_window(*tooltip).rect.bottom, 790 - 6);
  post_tray_event(vessa.bar, NIN_POPUPCLOSE, POINT{640, 790});
  EXPECT_TRUE(vessa.no_tooltip());
}

TEST(Shell_TrayTooltip, OpeningTheMenuHidesTheTooltip) {
  RunningVessa vessa(kConfig);
  ASSERT_NE(vessa.bar, nullptr);
  move_pointer(640, 790);
  post_tray_event(vessa.bar, NIN_POPUPOPEN, POINT{640, 790});
  ASSERT_TRUE(vessa.tooltip().has_value());
  post_tray_event(vessa.bar, WM_CONTEXTMENU, POINT{640, 790});
  ASSERT_TRUE(wait_for_menu(vessa.pid()).has_value());
  EXPECT_TRUE(vessa.no_tooltip(1s));
  PostMessageW(vessa.bar, WM_CANCELMODE, 0, 0);  // closes the menu, as a click elsewhere would
  EXPECT_TRUE(wait_for_no_menu(vessa.pid()));
  EXPECT_TRUE(vessa.process->running());
}

// A few hundred tooltip refreshes, menu openings and icon re-registrations leave the
// program's GDI and USER object counts where they were.
TEST(Shell_TrayLeaks, ObjectCountsStayFlatOverTooltipsMenusAndReregistrations) {
  RunningVessa vessa(kConfig);
  ASSERT_NE(vessa.bar, nullptr);
  move_pointer(640, 790);
  const auto cycle = [&](int tooltips, int menus, int reregistrations) {
    for (int i = 0; i < tooltips; ++i) {
      post_tray_event(vessa.bar, NIN_POPUPOPEN, POINT{640, 790});
      if (i % 10 == 9) post_tray_event(vessa.bar, NIN_POPUPCLOSE, POINT{640, 790});
    }
    for (int i = 0; i < menus; ++i) {
      post_tray_event(vessa.bar, WM_CONTEXTMENU, POINT{640, 790});
      ASSERT_TRUE(wait_until([&] { return visible_menu(vessa.pid()).has_value(); }, 5s)) << "menu " << i;
      PostMessageW(vessa.bar, WM_CANCELMODE, 0, 0);
      ASSERT_TRUE(wait_for_no_menu(vessa.pid())) << "menu " << i;
    }
    for (int i = 0; i < reregistrations; ++i) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(vessa.bar, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                          SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    post_tray_event(vessa.bar, NIN_POPUPCLOSE, POINT{640, 790});
    ASSERT_TRUE(vessa.no_tooltip());
  };
  cycle(20, 5, 5);  // warm-up: every kind of object has been made once
  const ObjectCountBaseline baseline(vessa.process->handle());
  cycle(300, 100, 100);
  baseline.expect_flat();  // an object kept per event would add a hundred or more
}

}  // namespace
}  // namespace vessa::test
