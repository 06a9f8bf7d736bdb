// Hovering and right-clicking the bars themselves (the overlay window over Wine's taskbar).
#include <gtest/gtest.h>

#include <algorithm>

#include "tray_support.hpp"

namespace vessa::test {
namespace {

// Memory and network only (rows Memory, Receive, Send), and an opaque background so that
// every pixel of the bar window takes the pointer (fully transparent pixels let it through).
constexpr char kConfig[] =
    "[general]\nlanguage = \"en\"\n[metrics]\nitems = [\"memory\", \"net\"]\n[appearance]\nbackground_alpha = 255\n";

struct Bars : RunningVessa {
  RECT rect{};

  Bars() : RunningVessa(kConfig) {
    wait_until([&] { return GetWindowRect(bar, &rect) && rect.right - rect.left > 1; }, 5s);
  }
  [[nodiscard]] bool laid_out() const { return rect.right - rect.left > 1 && rect.bottom - rect.top > 1; }
  [[nodiscard]] POINT centre() const { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }
};

TEST(Shell_BarsHover, PointerOnTheBarsShowsTheTooltipAboveTheTaskbarAndLeavingHidesIt) {
  Bars bars;
  ASSERT_NE(bars.bar, nullptr);
  ASSERT_TRUE(bars.laid_out()) << "the bars were not laid out over the taskbar";
  move_pointer(640, 300);
  move_pointer(bars.centre().x, bars.centre().y);
  const auto tooltip = bars.tooltip();
  ASSERT_TRUE(tooltip.has_value()) << "no tooltip over the bars";

  const SIZE size = memory_and_network_tooltip_size();
  const RECT rect = describe_window(*tooltip).rect;
  EXPECT_EQ(rect.right - rect.left, size.cx);
  EXPECT_EQ(rect.bottom - rect.top, size.cy);
  const long bar_width = bars.rect.right - bars.rect.left;
  EXPECT_EQ(rect.left, std::clamp<long>(bars.rect.left + (bar_width - size.cx) / 2, 0, 1280 - size.cx));
  EXPECT_EQ(rect.bottom, bars.rect.top - 6);
  EXPECT_LE(rect.bottom, 780) << "the tooltip covers the taskbar";

  move_pointer(640, 300);
  EXPECT_TRUE(bars.no_tooltip()) << "the tooltip stayed after the pointer left";
}

TEST(Shell_BarsHover, ARightClickOnTheBarsOpensTheMenuAndExitEndsTheProgram) {
  Bars bars;
  ASSERT_NE(bars.bar, nullptr);
  ASSERT_TRUE(bars.laid_out()) << "the bars were not laid out over the taskbar";
  const POINT at = bars.centre();
  const MenuPicture expected = reference_menu(menu_texts(ui_texts(UiLanguage::English)), true, at);
  ASSERT_EQ(expected.items.size(), 5u);

  std::optional<HWND> menu;
  for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
    click(at.x, at.y, true);
    menu = wait_for_menu(bars.pid(), 2s);
  }
  ASSERT_TRUE(menu.has_value()) << "no menu after a right click on the bars";
  EXPECT_TRUE(bars.no_tooltip(0ms)) << "the menu keeps the tooltip";
  EXPECT_EQ(differing_pixels(rested_picture_of(*menu), expected), 0u);
  const POINT exit = expected.item_centre(4);
  click(exit.x, exit.y);
  EXPECT_EQ(bars.process->wait(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace vessa::test
