// The program's four-bar icon: geometry from the size, sample coverage, pixels in the plain
// colour with the coverage as alpha.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/tray_icon_image.hpp"

namespace vessa {
namespace {

struct GeometryCase {
  std::int32_t width;
  std::int32_t height;
  std::int32_t pad, gap, thick, avail, top;
  std::array<double, 4> x1;
  std::array<double, 4> y;
};

class TrayIconGeometryTable : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(TrayIconGeometryTable, DerivesMarginsBarsAndCentreLines) {
  const GeometryCase& c = GetParam();
  const TrayIconGeometry g = tray_icon_geometry(c.width, c.height);
  EXPECT_EQ(g.pad, c.pad);
  EXPECT_EQ(g.gap, c.gap);
  EXPECT_EQ(g.thick, c.thick);
  EXPECT_DOUBLE_EQ(g.half, c.thick / 2.0);
  EXPECT_EQ(g.avail, c.avail);
  EXPECT_EQ(g.top, c.top);
  EXPECT_EQ(g.pitch, c.gap + c.thick);
  for (std::size_t k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    EXPECT_DOUBLE_EQ(g.bars[k].x0, c.pad + c.thick / 2.0);
    EXPECT_DOUBLE_EQ(g.bars[k].x1, c.x1[k]);
    EXPECT_DOUBLE_EQ(g.bars[k].y, c.y[k]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TrayIconGeometryTable,
    ::testing::Values(
        // The small-icon size at 96 DPI: bars from x 2 to 14, 10, 6 and 12 at y 2, 6, 10, 14.
        GeometryCase{16, 16, 1, 2, 2, 14, 1, {14, 10, 6, 12}, {2, 6, 10, 14}},
        // The smallest size: every length at its floor, radius 0.5.
        GeometryCase{8, 8, 1, 1, 1, 6, 0, {6.5, 4.5, 3.5, 5.5}, {0.5, 2.5, 4.5, 6.5}},
        // 150 %: pad 2, gap 3, lengths 20, 14, 9, 17.
        GeometryCase{24, 24, 2, 3, 2, 20, 3, {21, 15, 10, 18}, {4, 9, 14, 19}},
        // A wide request: longer bars, the same thickness and rows as 16 x 16.
        GeometryCase{64, 16, 1, 2, 2, 62, 1, {62, 45, 28, 53}, {2, 6, 10, 14}}));

TEST(TrayIconGeometry, LengthsRoundHalvesAwayFromZero) {
  // avail 10: the third bar is 0.45 * 10 = 4.5 long, which rounds up to 5, not to the even 4.
  const TrayIconGeometry g = tray_icon_geometry(12, 16);
  EXPECT_EQ(g.avail, 10);
  EXPECT_EQ(g.bars[1].length, 7);
  EXPECT_EQ(g.bars[2].length, 5);
  EXPECT_EQ(g.bars[3].length, 9);
}

TEST(TrayIconGeometry, NarrowIconsKeepEveryBarAtLeastAsLongAsItIsThick) {
  const TrayIconGeometry g = tray_icon_geometry(3, 32);
  for (const TrayIconBar& bar : g.bars) {
    EXPECT_GE(bar.length, g.thick);
    EXPECT_GE(bar.x1, bar.x0);
  }
}

std::uint8_t coverage_at(const std::vector<std::uint8_t>& coverage, int width, int x, int y) {
  return coverage[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

TEST(TrayIconCoverage, TopBarOf16IsSolidInsideAndHas13Of16SamplesAtTheCaps) {
  const auto coverage = tray_icon_coverage(16, 16);
  ASSERT_EQ(coverage.size(), 256u);
  for (int y : {1, 2}) {
    for (int x = 2; x <= 13; ++x) EXPECT_EQ(coverage_at(coverage, 16, x, y), 255) << x << "," << y;
    EXPECT_EQ(coverage_at(coverage, 16, 1, y), 207) << y;
    EXPECT_EQ(coverage_at(coverage, 16, 14, y), 207) << y;
    EXPECT_EQ(coverage_at(coverage, 16, 0, y), 0) << y;
    EXPECT_EQ(coverage_at(coverage, 16, 15, y), 0) << y;
  }
}

// Row y's columns with any coverage.
int covered_columns(const std::vector<std::uint8_t>& coverage, int width, int y) {
  int count = 0;
  for (int x = 0; x < width; ++x) count += coverage_at(coverage, width, x, y) != 0 ? 1 : 0;
  return count;
}

TEST(TrayIconCoverage, BarsFillWholeRowsWithEmptyRowsBetweenThemAndTheThirdIsShortest) {
  const auto coverage = tray_icon_coverage(16, 16);
  const std::vector<int> expected = {0, 14, 14, 0, 0, 10, 10, 0, 0, 6, 6, 0, 0, 12, 12, 0};
  for (int y = 0; y < 16; ++y) EXPECT_EQ(covered_columns(coverage, 16, y), expected[static_cast<std::size_t>(y)]) << y;
}

TEST(TrayIconCoverage, WideIconsGrowInLengthOnly) {
  const auto narrow = tray_icon_coverage(16, 16);
  const auto wide = tray_icon_coverage(64, 16);
  for (int y = 0; y < 16; ++y) {
    SCOPED_TRACE(y);
    EXPECT_EQ(covered_columns(wide, 64, y) == 0, covered_columns(narrow, 16, y) == 0);
  }
  EXPECT_EQ(covered_columns(wide, 64, 1), 62);
  EXPECT_EQ(coverage_at(wide, 64, 61, 1), 255);
  EXPECT_EQ(coverage_at(wide, 64, 62, 1), 207);
}

TEST(TrayIconCoverage, EveryBarLiesOnWholeRowsAtEverySize) {
  // No pixel row is shared by two bars, and at least one empty row separates neighbours.
  for (int h = 8; h <= 64; ++h) {
    SCOPED_TRACE(h);
    const TrayIconGeometry g = tray_icon_geometry(h, h);
    for (const TrayIconBar& bar : g.bars) {
      const double upper = bar.y - g.half;
      EXPECT_EQ(upper, static_cast<double>(static_cast<int>(upper)));
    }
    const auto coverage = tray_icon_coverage(h, h);
    for (std::size_t k = 0; k + 1 < g.bars.size(); ++k) {
      const int gap_row = static_cast<int>(g.bars[k].y + g.half);
      EXPECT_EQ(covered_columns(coverage, h, gap_row), 0) << "between bars " << k << " and " << k + 1;
    }
  }
}

TEST(TrayIconPixels, AreThePlainColourWithTheCoverageAsAlpha) {
  const auto pixels = tray_icon_pixels(16, 16, rgb_hex(0xF0F0F0));
  ASSERT_TRUE(pixels.has_value());
  EXPECT_EQ(pixels->width(), 16);
  EXPECT_EQ(pixels->height(), 16);
  EXPECT_EQ(pixels->at(5, 1), 0xFFF0F0F0u);  // fully inside: opaque, exactly the colour
  EXPECT_EQ(pixels->at(1, 1), 0xCFF0F0F0u);  // cap: alpha 207, the colour itself (not premultiplied)
  EXPECT_EQ(pixels->at(0, 0), 0u);           // outside: all four bytes 0
  EXPECT_EQ(pixels->at(7, 3), 0u);

  const auto blue = tray_icon_pixels(8, 8, rgb_hex(0x1E90FF));
  ASSERT_TRUE(blue.has_value());
  EXPECT_EQ(blue->at(3, 0), 0xFF1E90FFu);
}

TEST(TrayIconPixels, RefuseSizesOutsideOneTo1024) {
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{0, 16}, {16, 0}, {-8, 8}, {1025, 16}, {16, 1 << 30}}) {
    EXPECT_FALSE(tray_icon_pixels(w, h, Rgb{}).has_value()) << w << "x" << h;
    EXPECT_TRUE(tray_icon_coverage(w, h).empty());
  }
  const TrayIconGeometry extreme = tray_icon_geometry(INT32_MIN, INT32_MAX);  // defined, if meaningless
  EXPECT_GE(extreme.thick, 1);
}

}  // namespace
}  // namespace vessa
