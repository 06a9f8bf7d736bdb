// The tooltip window itself, shown by this test program through show_tooltip: class and
// styles, size from the measured templates, placement against its anchor, painting, and
// that refreshes reuse one window without leaking GDI or USER objects.
#include <gtest/gtest.h>

#include "render/tooltip_win.hpp"
#include "tray_support.hpp"

namespace vessa::test {
namespace {

constexpr Rgb kCpuSwatch = rgb_hex(0x47A8D8);
constexpr Rgb kRxSwatch = rgb_hex(0xD6538A);

std::vector<TooltipRow> sample_rows() {
  return {TooltipRow{"CPU", "3.60 GHz  45%", "CPU", "9.99 GHz  100%", kCpuSwatch},
          TooltipRow{"Receive", "1.5 KB/s", "Receive", "999 GB/s", kRxSwatch},
          TooltipRow{"Clear", "Temp: 22°C", "Partly cloudy", "Rain: 100%  Temp: -99°C", std::nullopt}};
}

// The size at 96 DPI for the rows above.
SIZE expected_size_96() {
  return tooltip_size_at_96({L"CPU", L"Receive", L"Partly cloudy"},
                            {L"9.99 GHz  100%", L"999 GB/s", L"Rain: 100%  Temp: -99°C"}, 3);
}

RECT window_rect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

std::uint32_t hex(Rgb color) { return (std::uint32_t{color.r} << 16) | (std::uint32_t{color.g} << 8) | color.b; }

// Pixels of the rectangle (x0, y0)-(x1, y1) that differ from the background.
int inked(const ScreenShot& shot, int x0, int x1, int y0, int y1, std::uint32_t background) {
  int count = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) count += shot.at(x, y) != background ? 1 : 0;
  }
  return count;
}

TEST(Shell_TooltipWindow, ShowsAboveTheAnchorAtTheSizeOfItsWidestTemplates) {
  TooltipState tooltip;
  const Config config;
  show_tooltip(tooltip, config, Placement{1000, 784, 80, 12}, 96, false, sample_rows());
  ASSERT_TRUE((tooltip_window(tooltip) != nullptr));
  HWND window = tooltip_window(tooltip);

  const WindowInfo info = describe_window(window);
  EXPECT_EQ(info.class_name, L"VessaTooltipWindow");
  EXPECT_EQ(window_text(window), L"VESSA");
  const DWORD ex_styles = WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  EXPECT_EQ(info.ex_style & ex_styles, ex_styles);
  EXPECT_EQ(info.style & (WS_POPUP | WS_CHILD | WS_CAPTION), static_cast<DWORD>(WS_POPUP));
  EXPECT_TRUE(info.visible);

  const int width = expected_size_96().cx;
  const int height = expected_size_96().cy;
  const RECT rect = window_rect(window);
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);
  EXPECT_EQ(rect.left, 1000 + (80 - width) / 2);  // centred on the anchor
  EXPECT_EQ(rect.bottom, 784 - 6);                // 6 px above it

  // Painted: the background, each swatch centred in its row, labels left, values right.
  ScreenShot shot;
  wait_until([&] {
    shot = capture_screen();
    return shot.at(rect.left + 1, rect.top + 1) == 0x2B2B2B;
  });
  const std::uint32_t background = 0x2B2B2B;
  EXPECT_EQ(shot.at(rect.left + 1, rect.top + 1), background);
  EXPECT_EQ(shot.at(rect.right - 1, rect.bottom - 1), background);
  EXPECT_EQ(shot.at(rect.left + 12, rect.top + 9 + 8), hex(kCpuSwatch));  // row 0: y 17..19, x 12..25
  EXPECT_EQ(shot.at(rect.left + 25, rect.top + 9 + 10), hex(kCpuSwatch));
  EXPECT_EQ(shot.at(rect.left + 26, rect.top + 9 + 8), background);
  EXPECT_EQ(shot.at(rect.left + 12, rect.top + 9 + 7), background);
  EXPECT_EQ(shot.at(rect.left + 12, rect.top + 9 + 11), background);
  EXPECT_EQ(shot.at(rect.left + 12, rect.top + 9 + 19 + 8), hex(kRxSwatch));  // row 1
  EXPECT_EQ(shot.at(rect.left + 12, rect.top + 9 + 38 + 8), background);      // the weather row has none
  const int label_left = rect.left + 12 + 14 + 8;
  for (int row = 0; row < 3; ++row) {
    const int top = rect.top + 9 + 19 * row;
    SCOPED_TRACE(row);
    EXPECT_GT(inked(shot, label_left, label_left + 20, top, top + 19, background), 0) << "no label";
    EXPECT_GT(inked(shot, rect.right - 12 - 20, rect.right - 12, top, top + 19, background), 0) << "no value";
    EXPECT_EQ(inked(shot, rect.right - 12, rect.right, top, top + 19, background), 0) << "value beyond the padding";
  }

  hide_tooltip(tooltip);
  EXPECT_FALSE((tooltip_window(tooltip) != nullptr));
  EXPECT_FALSE(IsWindow(window));
}

TEST(Shell_TooltipWindow, GoesBelowAnAnchorAtTheTopAndBesideAVerticalTaskbar) {
  TooltipState tooltip;
  const Config config;
  const int width = expected_size_96().cx;
  const int height = expected_size_96().cy;

  show_tooltip(tooltip, config, Placement{600, 0, 80, 20}, 96, false, sample_rows());
  RECT rect = window_rect(tooltip_window(tooltip));
  EXPECT_EQ(rect.top, 26);
  EXPECT_EQ(rect.left, 600 + (80 - width) / 2);

  HWND first = tooltip_window(tooltip);
  show_tooltip(tooltip, config, Placement{0, 300, 30, 100}, 96, true, sample_rows());
  EXPECT_EQ(tooltip_window(tooltip), first) << "a refresh moves the same window";
  rect = window_rect(first);
  EXPECT_EQ(rect.left, 36);
  EXPECT_EQ(rect.top, 300 + (100 - height) / 2);

  show_tooltip(tooltip, config, Placement{1250, 300, 30, 100}, 96, true, sample_rows());
  rect = window_rect(first);
  EXPECT_EQ(rect.right, 1250 - 6);
}

TEST(Shell_TooltipWindow, At144DpiEveryLengthAndTheFontScale) {
  TooltipState tooltip;
  const Config config;
  show_tooltip(tooltip, config, Placement{1000, 772, 80, 28}, 144, false, sample_rows());
  const RECT rect = window_rect(tooltip_window(tooltip));
  const int width = 12 + 36 + 21 + 2 * 18 + widest({L"CPU", L"Receive", L"Partly cloudy"}, 18) +
                    widest({L"9.99 GHz  100%", L"999 GB/s", L"Rain: 100%  Temp: -99°C"}, 18);
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, 28 * 3 + 2 * 13);
  EXPECT_EQ(rect.bottom, 772 - 9);
}

TEST(Shell_TooltipWindow, NoRowsHideIt) {
  TooltipState tooltip;
  const Config config;
  show_tooltip(tooltip, config, Placement{1000, 784, 80, 12}, 96, false, sample_rows());
  HWND window = tooltip_window(tooltip);
  ASSERT_TRUE(IsWindowVisible(window));
  show_tooltip(tooltip, config, Placement{1000, 784, 80, 12}, 96, false, {});
  EXPECT_FALSE((tooltip_window(tooltip) != nullptr));
  EXPECT_FALSE(IsWindow(window));
}

TEST(Shell_TooltipWindow, RefreshesReuseOneWindowAndLeaveNoObjectsBehind) {
  TooltipState tooltip;
  Config config;
  show_tooltip(tooltip, config, Placement{1000, 784, 80, 12}, 96, false, sample_rows());
  hide_tooltip(tooltip);
  wait_until([] { return false; }, 100ms);  // let the first paint and destruction settle
  const DWORD gdi = process_figures(GetCurrentProcess()).gdi_objects;
  const DWORD user = process_figures(GetCurrentProcess()).user_objects;

  for (int round = 0; round < 10; ++round) {
    show_tooltip(tooltip, config, Placement{1000, 784, 80, 12}, 96, false, sample_rows());
    HWND window = tooltip_window(tooltip);
    for (int i = 0; i < 30; ++i) {
      auto rows = sample_rows();
      rows[0].value = std::to_string(i) + "%";
      config.appearance.tooltip_font_size_pt = 8.0f + static_cast<float>(i % 4);
      show_tooltip(tooltip, config, Placement{900 + i, 784, 80, 12}, i % 2 == 0 ? 96 : 120, false, std::move(rows));
      ASSERT_EQ(tooltip_window(tooltip), window);
      UpdateWindow(window);  // paint each refresh
    }
    hide_tooltip(tooltip);
  }
  wait_until([] { return false; }, 100ms);
  EXPECT_EQ(process_figures(GetCurrentProcess()).gdi_objects, gdi);
  EXPECT_EQ(process_figures(GetCurrentProcess()).user_objects, user);
}

}  // namespace
}  // namespace vessa::test
