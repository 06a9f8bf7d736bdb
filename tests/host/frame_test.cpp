#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "config/colors.hpp"
#include "config/config.hpp"
#include "render/bar_frame.hpp"
#include "render/canvas.hpp"
#include "render/rasterize.hpp"

namespace vessa {

void PrintTo(const Shape& s, std::ostream* out) {
  *out << "Shape{" << s.x0 << "," << s.y0 << "," << s.x1 << "," << s.y1 << " #" << std::hex << int{s.color.r} << ","
       << int{s.color.g} << "," << int{s.color.b} << std::dec << " a" << int{s.alpha} << (s.round ? " round" : "") << "}";
}

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Distinct colours, so that every shape's colour says what it is.
ResolvedColors test_colors() {
  ResolvedColors c;
  c.cpu = rgb_hex(0x100000);
  c.memory = rgb_hex(0x200000);
  c.disk = rgb_hex(0x300000);
  c.gpu = rgb_hex(0x400000);
  c.net_rx = rgb_hex(0x500000);
  c.net_tx = rgb_hex(0x600000);
  c.net_overlap = rgb_hex(0x700000);
  c.lamp_read = rgb_hex(0x800000);
  c.lamp_write = rgb_hex(0x900000);
  c.lamp_both = rgb_hex(0xA00000);
  return c;
}

// The worked layout: 120 × 40 at 96 DPI, padding 4, no icon, thickness 3, band 24, inset 2.
Config example_config() {
  Config config;
  config.layout.padding_x = 4;
  config.layout.lamp_size = 6;
  return config;
}
const Geometry kExampleGeometry{3, 24, std::nullopt, 2};

MetricSample five_bars() {
  MetricSample sample;
  sample.bars = {{0, MetricKind::Cpu}, {0, MetricKind::Memory}, {0, MetricKind::Disk}, {0, MetricKind::Net},
                 {0, MetricKind::Gpu}};
  return sample;
}

FrameModel example_frame(const MetricSample& sample, const Config& config = example_config()) {
  return build_frame(config, test_colors(), sample, kExampleGeometry, 120, 40, 96, kNoIcon, std::nullopt);
}

std::vector<Shape> shapes_of_color(const FrameModel& frame, Rgb color) {
  std::vector<Shape> out;
  for (const Shape& s : frame.shapes) {
    if (s.color == color) out.push_back(s);
  }
  return out;
}

const Rgb kTrack = Appearance{}.track_color;

Shape rect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, Rgb color, std::uint8_t alpha = 255) {
  return Shape{x0, y0, x1, y1, color, alpha, false};
}

TEST(Frame, FiveBarsAreSpacedByStepFourFromRow10) {
  const FrameModel frame = example_frame(five_bars());
  // bar length 112, start 4, band top 8, edge rows 2, step 4; the tracks in track colour and alpha.
  EXPECT_THAT(shapes_of_color(frame, kTrack),
              ElementsAre(rect(4, 10, 116, 13, kTrack, 64), rect(4, 14, 116, 17, kTrack, 64),
                          rect(4, 18, 116, 21, kTrack, 64), rect(4, 22, 116, 25, kTrack, 64),
                          rect(4, 26, 116, 29, kTrack, 64),
                          // The disk lamp (no disk in the sample: one unlit lamp, 6 pixels, centred
                          // on the disk bar's row 19) in track colour.
                          Shape{110, 16, 116, 22, kTrack, 64, true}));
}

TEST(Frame, ProcessorAtHalfCoversHalfTheBar) {
  MetricSample sample = five_bars();
  sample.bars[0].percent = 50;
  const FrameModel frame = example_frame(sample);
  EXPECT_THAT(shapes_of_color(frame, test_colors().cpu), ElementsAre(rect(4, 10, 60, 13, test_colors().cpu)));
  // A value of 0 draws nothing but the track.
  EXPECT_THAT(shapes_of_color(frame, test_colors().memory), IsEmpty());
}

TEST(Frame, ValueLengthsRoundHalfAwayFromZeroAndStayInTheBar) {
  const struct {
    double percent;
    std::int64_t length;
    std::int64_t expected;
  } cases[] = {{50, 112, 56},   {0.4464, 112, 0}, {0.4465, 112, 1}, {25, 2, 1},   {75, 2, 2},     {100, 112, 112},
               {150, 112, 112}, {-5, 112, 0},     {kNaN, 112, 0},   {kInf, 112, 112}, {-kInf, 112, 0}, {1e308, 112, 112},
               {50, 0, 0},      {kInf, 0, 0},     {50, std::numeric_limits<std::int64_t>::max(), 4611686018427387904}};
  for (const auto& c : cases) EXPECT_EQ(bar_length(c.percent, c.length), c.expected) << c.percent << " of " << c.length;
}

TEST(Frame, NetworkSendGrowsFromTheLeftReceiveFromTheRightOverlapBetween) {
  const ResolvedColors colors = test_colors();
  MetricSample sample = five_bars();
  sample.net_rx_percent = 25;
  sample.net_tx_percent = 75;
  FrameModel frame = example_frame(sample);
  EXPECT_THAT(shapes_of_color(frame, colors.net_tx), ElementsAre(rect(4, 22, 88, 25, colors.net_tx)));
  EXPECT_THAT(shapes_of_color(frame, colors.net_rx), ElementsAre(rect(88, 22, 116, 25, colors.net_rx)));
  EXPECT_THAT(shapes_of_color(frame, colors.net_overlap), IsEmpty());

  sample.net_tx_percent = 80;
  frame = example_frame(sample);
  EXPECT_THAT(shapes_of_color(frame, colors.net_tx), ElementsAre(rect(4, 22, 94, 25, colors.net_tx)));
  EXPECT_THAT(shapes_of_color(frame, colors.net_rx), ElementsAre(rect(88, 22, 116, 25, colors.net_rx)));
  EXPECT_THAT(shapes_of_color(frame, colors.net_overlap), ElementsAre(rect(88, 22, 94, 25, colors.net_overlap)));
  // Drawn in this order, over the net bar's track.
  const auto net_start = std::find(frame.shapes.begin(), frame.shapes.end(), rect(4, 22, 116, 25, kTrack, 64));
  ASSERT_NE(net_start, frame.shapes.end());
  EXPECT_THAT(std::vector<Shape>(net_start + 1, net_start + 4),
              ElementsAre(rect(4, 22, 94, 25, colors.net_tx), rect(88, 22, 116, 25, colors.net_rx),
                          rect(88, 22, 94, 25, colors.net_overlap)));
}

TEST(Frame, TwoDiskLampsFormAColumnCentredOnTheDiskBar) {
  const ResolvedColors colors = test_colors();
  MetricSample sample = five_bars();
  sample.disks = {{"C:", 0, true, false}, {"D:", 0, true, true}};
  const FrameModel frame = example_frame(sample);
  // Six pixels with a gap of 3 (total 15); disk bar at row 18, thick 3: 18 + 1 − 7 = 12.
  const std::vector<Shape> lamps(frame.shapes.end() - 2, frame.shapes.end());
  EXPECT_THAT(lamps, ElementsAre(Shape{110, 12, 116, 18, colors.lamp_read, 255, true},
                                 Shape{110, 21, 116, 27, colors.lamp_both, 255, true}));
}

TEST(Frame, LampColoursFollowTheirState) {
  const ResolvedColors colors = test_colors();
  Config config = example_config();
  config.appearance.line_alpha = 200;
  config.appearance.track_alpha = 30;
  config.layout.show_track = false;  // an unlit lamp keeps the track colour all the same
  MetricSample sample = five_bars();
  sample.disks = {{"a", 0, false, false}, {"b", 0, true, false}, {"c", 0, false, true}, {"d", 0, true, true}};
  const FrameModel frame = example_frame(sample, config);
  ASSERT_EQ(frame.shapes.size(), 4u);
  EXPECT_EQ(frame.shapes[0].color, kTrack);
  EXPECT_EQ(frame.shapes[0].alpha, 30);
  EXPECT_EQ(frame.shapes[1].color, colors.lamp_read);
  EXPECT_EQ(frame.shapes[2].color, colors.lamp_write);
  EXPECT_EQ(frame.shapes[3].color, colors.lamp_both);
  EXPECT_EQ(frame.shapes[3].alpha, 200);
  // Four lamps of at most 6 in 24 rows: 6 fits with no gap, 5 with a gap of 1 (4 × 5 + 3 = 23);
  // centred on row 19 they would start at 8, the band's top.
  EXPECT_EQ(frame.shapes[0], (Shape{111, 8, 116, 13, kTrack, 30, true}));
  EXPECT_EQ(frame.shapes[3].y0, 8 + 3 * 6);
}

TEST(Frame, WithoutDisksTheSampleWideLampStands) {
  const ResolvedColors colors = test_colors();
  MetricSample sample = five_bars();
  sample.lamp_lit = true;
  const FrameModel frame = example_frame(sample);
  EXPECT_THAT(shapes_of_color(frame, colors.lamp_read), ElementsAre(Shape{110, 16, 116, 22, colors.lamp_read, 255, true}));
}

TEST(Frame, NoLampWithoutADiskBarOrWithTheLampOff) {
  MetricSample sample;
  sample.bars = {{10, MetricKind::Cpu}, {20, MetricKind::Net}};
  sample.disks = {{"C:", 0, true, true}};
  FrameModel frame = example_frame(sample);
  for (const Shape& s : frame.shapes) EXPECT_FALSE(s.round);

  Config config = example_config();
  config.metrics.disk_lamp = false;
  frame = example_frame(five_bars(), config);
  for (const Shape& s : frame.shapes) EXPECT_FALSE(s.round);
}

TEST(Frame, TheLampFollowsTheLastDiskBar) {
  MetricSample sample;
  sample.bars = {{0, MetricKind::Disk}, {0, MetricKind::Cpu}, {0, MetricKind::Disk}};
  const FrameModel frame = example_frame(sample);
  // Three bars: edge rows 2, free 17, step 8: rows 10, 18, 26. The last disk row 26 centres the
  // 6-pixel lamp at 26 + 1 − 3 = 24.
  ASSERT_TRUE(frame.shapes.back().round);
  EXPECT_EQ(frame.shapes.back().y0, 24);
}

TEST(Frame, WithoutItemsOnlyTheBackgroundAndTheIcon) {
  Config config = example_config();
  config.appearance.background = rgb_hex(0x123456);
  config.appearance.background_alpha = 77;
  FrameModel frame = example_frame(MetricSample{}, config);
  EXPECT_THAT(frame.shapes, IsEmpty());
  EXPECT_EQ(frame.icon_kind, kNoIcon);
  EXPECT_EQ(frame.background, rgb_hex(0x123456));
  EXPECT_EQ(frame.background_alpha, 77);

  // With weather: the icon sits at the left in a square of the band's size, trimmed.
  config.weather.icon_trim = 2;
  config.weather.icon_color = rgb_hex(0xABCDEF);
  const Geometry with_icon{3, 24, 8, 2};
  frame = build_frame(config, test_colors(), MetricSample{}, with_icon, 120, 40, 96, 3, std::nullopt);
  EXPECT_THAT(frame.shapes, IsEmpty());
  EXPECT_EQ(frame.icon_kind, 3);
  EXPECT_EQ(frame.icon_color, rgb_hex(0xABCDEF));
  EXPECT_EQ(frame.icon_box, (IconBox{4, 10, 24, 30}));  // pad 4; band top 8 + trim 2; side 24 − 4
}

TEST(Frame, TheIconReservesItsSlotBeforeTheBars) {
  Config config = example_config();
  MetricSample sample;
  sample.bars = {{100, MetricKind::Cpu}};
  const Geometry with_icon{3, 24, 8, 2};
  // Icon area 8 + 24 = 32: the bar runs from 36 to 120 − 4.
  FrameModel frame = build_frame(config, test_colors(), sample, with_icon, 120, 40, 96, 0, std::nullopt);
  EXPECT_EQ(frame.shapes.back(), rect(36, 18, 116, 21, test_colors().cpu));
  // The slot is kept without an icon to show, but then no box is drawn.
  frame = build_frame(config, test_colors(), sample, with_icon, 120, 40, 96, kNoIcon, std::nullopt);
  EXPECT_EQ(frame.shapes.back().x0, 36);
  EXPECT_EQ(frame.icon_kind, kNoIcon);
  // Without the icon gap (weather off) an icon kind alone shows nothing.
  frame = build_frame(config, test_colors(), sample, kExampleGeometry, 120, 40, 96, 2, std::nullopt);
  EXPECT_EQ(frame.icon_kind, kNoIcon);
  EXPECT_EQ(frame.shapes.back().x0, 4);
}

TEST(Frame, At144DpiEachLengthScalesAndTruncates) {
  Config config;
  config.layout.padding_x = 5;  // 7.5 → 7
  MetricSample sample;
  sample.bars = {{50, MetricKind::Cpu}};
  // thickness 3 → 4 (4.5), band 24 → 36; H 60: band top 12; one bar at (36 − 4) / 2 = 16 → 28.
  const FrameModel frame =
      build_frame(config, test_colors(), sample, Geometry{3, 24, std::nullopt, 2}, 181, 60, 144, kNoIcon, std::nullopt);
  // bar length 181 − 14 = 167; 50 % → 83.5 → 84.
  EXPECT_THAT(frame.shapes, ElementsAre(rect(7, 28, 174, 32, kTrack, 64), rect(7, 28, 91, 32, test_colors().cpu)));
}

TEST(Frame, CounterClockwiseBarsStartAtTheBottomAndGrowUp) {
  MetricSample sample = five_bars();
  sample.bars[0].percent = 50;
  const FrameModel frame =
      build_frame(example_config(), test_colors(), sample, kExampleGeometry, 40, 120, 96, kNoIcon, VerticalRotation::CounterClockwise);
  // The horizontal layout of 120 × 40, turned: (y0, 120 − x1, y1, 120 − x0).
  EXPECT_EQ(frame.shapes[0], rect(10, 4, 13, 116, kTrack, 64));  // starts 4 above the bottom edge
  EXPECT_EQ(frame.shapes[1], rect(10, 60, 13, 116, test_colors().cpu));
  EXPECT_EQ(frame.shapes.back(), (Shape{16, 4, 22, 10, kTrack, 64, true}));  // the lamp at the top end
}

TEST(Frame, ClockwiseBarsStartAtTheTopAndGrowDown) {
  MetricSample sample = five_bars();
  sample.bars[0].percent = 50;
  const FrameModel frame =
      build_frame(example_config(), test_colors(), sample, kExampleGeometry, 40, 120, 96, kNoIcon, VerticalRotation::Clockwise);
  // (40 − y1, x0, 40 − y0, x1)
  EXPECT_EQ(frame.shapes[0], rect(27, 4, 30, 116, kTrack, 64));  // starts 4 below the top edge
  EXPECT_EQ(frame.shapes[1], rect(27, 4, 30, 60, test_colors().cpu));
  EXPECT_EQ(frame.shapes.back(), (Shape{18, 110, 24, 116, kTrack, 64, true}));
}

TEST(Frame, TheIconBoxTurnsWithTheBars) {
  Config config = example_config();
  config.weather.icon_trim = 2;
  const Geometry with_icon{3, 24, 8, 2};
  const FrameModel cw = build_frame(config, test_colors(), MetricSample{}, with_icon, 40, 120, 96, 1, VerticalRotation::Clockwise);
  EXPECT_EQ(cw.icon_box, (IconBox{10, 4, 30, 24}));
  const FrameModel ccw =
      build_frame(config, test_colors(), MetricSample{}, with_icon, 40, 120, 96, 1, VerticalRotation::CounterClockwise);
  EXPECT_EQ(ccw.icon_box, (IconBox{10, 96, 30, 116}));
}

TEST(Frame, ManyBarsOverflowTheBandAndAreClippedLater) {
  MetricSample sample;
  for (int i = 0; i < 9; ++i) sample.bars.push_back({0, MetricKind::Cpu});
  const FrameModel frame = example_frame(sample);
  // No edge rows; step = thickness + 1 = 4; first = (24 − 3 − 8 × 4) / 2 = −5, moved down by 8: rows 3 to 35.
  EXPECT_EQ(frame.shapes.front().y0, 3);
  EXPECT_EQ(frame.shapes.back().y0, 35);
}

// The closed form against the search it replaces: sizes from the largest down, gaps from
// half the size down, first fit wins.
TEST(Frame, LampFitMatchesTheSearch) {
  for (std::int64_t largest = 1; largest <= 12; ++largest) {
    for (std::int64_t count = 1; count <= 9; ++count) {
      for (std::int64_t band = 1; band <= 60; ++band) {
        LampFit expected{std::max<std::int64_t>(1, band / count), 0};
        bool found = false;
        for (std::int64_t s = largest; s >= 1 && !found; --s) {
          for (std::int64_t g = std::max<std::int64_t>(1, s / 2); g >= 1; --g) {
            if (s * count + g * (count - 1) <= band) {
              expected = {s, g};
              found = true;
              break;
            }
          }
        }
        ASSERT_EQ(fit_lamps(largest, count, band), expected) << largest << " " << count << " " << band;
      }
    }
  }
}

TEST(Frame, MoreLampsThanRowsStartAtTheBandsTop) {
  MetricSample sample = five_bars();
  for (int i = 0; i < 30; ++i) sample.disks.push_back({"x", 0, false, false});
  const FrameModel frame = example_frame(sample);
  // 30 lamps in 24 rows: size max(1, 24 / 30) = 1, no gap; from the band top, row 8, on.
  const std::vector<Shape> lamps(frame.shapes.end() - 30, frame.shapes.end());
  EXPECT_EQ(lamps.front(), (Shape{115, 8, 116, 9, kTrack, 64, true}));
  EXPECT_EQ(lamps.back(), (Shape{115, 37, 116, 38, kTrack, 64, true}));
}

// Random extreme settings, geometries, samples and window sizes: no undefined behaviour (the
// host build runs under UBSan), nothing huge allocated, and rasterising stays in the canvas.
TEST(Frame, RandomExtremeInputsBuildAndRasterize) {
  std::mt19937_64 random(77);
  const auto any32 = [&random]() -> std::int32_t {
    switch (random() % 3) {
      case 0: return static_cast<std::int32_t>(static_cast<std::uint32_t>(random()));
      case 1: return static_cast<std::int32_t>(random() % 40) - 10;
      default: return random() % 2 ? std::numeric_limits<std::int32_t>::max() : std::numeric_limits<std::int32_t>::min();
    }
  };
  const auto any_u32 = [&random, &any32]() { return static_cast<std::uint32_t>(any32()); };
  const double percents[] = {0, 1, 50, 99.5, 100, 101, -1, kNaN, kInf, -kInf, 1e300, -1e300, 5e-324};
  const std::uint32_t dpis[] = {0, 96, 144, 192, 65535, std::numeric_limits<std::uint32_t>::max()};
  const std::uint8_t icon_kinds[] = {0, 3, 7, kNoIcon};
  for (int i = 0; i < 3000; ++i) {
    Config config;
    config.layout.padding_x = any32();
    config.layout.lamp_size = any32();
    config.layout.show_track = random() % 2 == 0;
    config.weather.icon_trim = any32();
    config.metrics.disk_lamp = random() % 4 != 0;
    config.appearance.background_alpha = static_cast<std::uint8_t>(random());
    config.appearance.line_alpha = static_cast<std::uint8_t>(random());
    Geometry geometry{any_u32(), any_u32(), std::nullopt, any_u32()};
    if (random() % 2) geometry.icon_gap = any32();
    MetricSample sample;
    const int bars = static_cast<int>(random() % 7);
    for (int b = 0; b < bars; ++b) {
      sample.bars.push_back({percents[random() % std::size(percents)], static_cast<MetricKind>(random() % 5)});
    }
    for (int d = static_cast<int>(random() % 6); d > 0; --d) sample.disks.push_back({"x", 0, random() % 2 == 0, random() % 2 == 0});
    sample.net_rx_percent = percents[random() % std::size(percents)];
    sample.net_tx_percent = percents[random() % std::size(percents)];
    const std::int32_t width = static_cast<std::int32_t>(random() % 200) - 5;
    const std::int32_t height = static_cast<std::int32_t>(random() % 60) - 5;
    std::optional<VerticalRotation> rotation;
    if (random() % 3 == 1) rotation = VerticalRotation::Clockwise;
    if (random() % 3 == 2) rotation = VerticalRotation::CounterClockwise;
    const FrameModel frame = build_frame(config, test_colors(), sample, geometry, width, height,
                                         dpis[random() % std::size(dpis)], icon_kinds[random() % std::size(icon_kinds)], rotation);
    ASSERT_LE(frame.shapes.size(), static_cast<std::size_t>(bars * 4 + 5));
    PixelBuffer buffer(std::max(1, width), std::max(1, height));
    rasterize(frame, buffer.canvas());
  }
}

}  // namespace
}  // namespace vessa
