// The tooltip's font height, size and position on its monitor.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "render/tooltip.hpp"

namespace vessa {
namespace {

TEST(TooltipFont, HeightIsPointsTimesDpiOver72RoundedHalfAway) {
  EXPECT_EQ(tooltip_font_height(9.0f, 96), 12);
  EXPECT_EQ(tooltip_font_height(9.0f, 144), 18);
  EXPECT_EQ(tooltip_font_height(9.0f, 120), 15);
  EXPECT_EQ(tooltip_font_height(7.5f, 96), 10);  // exactly 10
  EXPECT_EQ(tooltip_font_height(8.25f, 96), 11);  // 11.0
  EXPECT_EQ(tooltip_font_height(1.125f, 96), 2);  // 1.5 rounds away from zero
  EXPECT_EQ(tooltip_font_height(0.0f, 96), 1);
  EXPECT_EQ(tooltip_font_height(-9.0f, 96), 1);
  EXPECT_EQ(tooltip_font_height(std::nanf(""), 96), 1);
  EXPECT_EQ(tooltip_font_height(1e30f, 96), 10000);
}

// A fixed font: every character is 7 pixels wide, except that the tests name a few texts.
std::int32_t fixed_measure(std::string_view text) {
  static const std::map<std::string, std::int32_t, std::less<>> known = {
      {"CPU", 30}, {"Receive", 52}, {"9.99 GHz  100%", 95}, {"999 GB/s", 60}};
  if (const auto it = known.find(text); it != known.end()) return it->second;
  return static_cast<std::int32_t>(text.size()) * 7;
}

std::vector<TooltipRow> three_rows() {
  return {TooltipRow{"CPU", "3.60 GHz  45%", "CPU", "9.99 GHz  100%", rgb_hex(1)},
          TooltipRow{"Receive", "1.5 KB/s", "Receive", "999 GB/s", rgb_hex(2)},
          TooltipRow{"Send", "512 B/s", "Send", "999 GB/s", rgb_hex(3)}};
}

TEST(TooltipSize, ColumnsAreTheWidestTemplates) {
  const ColumnWidths widths = measure_columns(three_rows(), fixed_measure);
  EXPECT_EQ(widths.label, 52);
  EXPECT_EQ(widths.value, 95);
  const ColumnWidths none = measure_columns({}, fixed_measure);
  EXPECT_EQ(none.label, 0);
  EXPECT_EQ(none.value, 0);
}

TEST(TooltipSize, FollowsTheFormulaAt96And144Dpi) {
  const TooltipMetrics metrics;
  const ColumnWidths widths = measure_columns(three_rows(), fixed_measure);
  // 8 + 24 + 52 + 95 + 14 + 2 * 12 by 19 * 3 + 2 * 9
  EXPECT_EQ(tooltip_size(metrics, 96, widths, 3), (TooltipSize{217, 75}));
  // 12 + 36 + 52 + 95 + 21 + 2 * 18 by 28 * 3 + 2 * 13 (each length scaled and cut on its own)
  EXPECT_EQ(tooltip_size(metrics, 144, widths, 3), (TooltipSize{252, 110}));
  // 120 DPI: 10 + 30 + 17 + 2 * 15 = 87, rows 23, padding 11
  EXPECT_EQ(tooltip_size(metrics, 120, ColumnWidths{0, 0}, 2), (TooltipSize{87, 68}));
}

TEST(TooltipSize, SaturatesInsteadOfOverflowing) {
  const TooltipSize huge = tooltip_size(TooltipMetrics{}, 0xFFFFFFFFu, ColumnWidths{INT64_MAX, INT64_MAX}, SIZE_MAX);
  EXPECT_EQ(huge.width, INT32_MAX);
  EXPECT_EQ(huge.height, INT32_MAX);
  EXPECT_EQ(tooltip_size(TooltipMetrics{}, 96, ColumnWidths{-5, -5}, 0), (TooltipSize{70, 18}));
}

struct PositionCase {
  const char* what;
  Rect monitor;
  Placement anchor;
  TooltipSize size;
  std::uint32_t dpi;
  bool vertical;
  ScreenPoint expected;
};

class TooltipPositionTable : public ::testing::TestWithParam<PositionCase> {};

TEST_P(TooltipPositionTable, PlacesTheTooltipAgainstItsAnchor) {
  const PositionCase& c = GetParam();
  EXPECT_EQ(tooltip_position(c.monitor, c.anchor, c.size, c.dpi, c.vertical), c.expected) << c.what;
}

constexpr Rect kScreen{0, 0, 1280, 800};

INSTANTIATE_TEST_SUITE_P(
    Anchors, TooltipPositionTable,
    ::testing::Values(
        PositionCase{"bars in a bottom taskbar: centred, 6 px above", kScreen, {1000, 784, 80, 12}, {200, 100}, 96,
                     false, {940, 678}},
        PositionCase{"near the right edge: kept on the monitor", kScreen, {1250, 784, 30, 12}, {200, 100}, 96, false,
                     {1080, 678}},
        PositionCase{"near the left edge", kScreen, {10, 784, 30, 12}, {200, 100}, 96, false, {0, 678}},
        PositionCase{"bars in a top taskbar: below the anchor", kScreen, {1000, 4, 80, 12}, {200, 100}, 96, false,
                     {940, 22}},
        PositionCase{"tray icon hovered at the cursor", kScreen, {1270, 790, 0, 0}, {150, 80}, 96, false,
                     {1130, 704}},
        PositionCase{"odd width: the half is cut toward zero", kScreen, {640, 790, 0, 0}, {151, 80}, 96, false,
                     {565, 704}},
        PositionCase{"144 DPI: the gap is 9", kScreen, {1000, 780, 80, 16}, {200, 100}, 144, false, {940, 671}},
        PositionCase{"taller than the room below a top anchor", kScreen, {600, 10, 80, 12}, {200, 900}, 96, false,
                     {540, 0}},
        PositionCase{"vertical taskbar on the left: to the right", kScreen, {4, 600, 12, 80}, {200, 100}, 96, true,
                     {22, 590}},
        PositionCase{"vertical taskbar on the right: to the left", kScreen, {1264, 600, 12, 80}, {200, 100}, 96,
                     true, {1058, 590}},
        PositionCase{"vertical, near the bottom: kept on the monitor", kScreen, {4, 760, 12, 40}, {200, 100}, 96,
                     true, {22, 700}},
        PositionCase{"vertical, near the top", kScreen, {1264, 0, 12, 40}, {200, 100}, 96, true, {1058, 0}},
        PositionCase{"a monitor left of the primary one", {-1920, 0, 0, 1080}, {-300, 2, 80, 12}, {200, 100}, 96,
                     false, {-360, 20}},
        PositionCase{"a monitor above the primary one", {0, -1080, 1920, 0}, {1800, -40, 80, 40}, {200, 100}, 96,
                     false, {1720, -146}},
        PositionCase{"extreme anchor", kScreen, {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, {200, 100}, 96, false,
                     {1080, INT32_MAX - 106}}));

}  // namespace
}  // namespace vessa
