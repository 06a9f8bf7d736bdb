#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>

#include "config/config.hpp"
#include "render/placement.hpp"

namespace vessa {

// Readable failures: the structure form the diagnostics use.
void PrintTo(const Placement& placement, std::ostream* out) { *out << format_placement(placement); }
void PrintTo(const Geometry& geometry, std::ostream* out) { *out << format_geometry(geometry); }

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

// Wine's desktop: the taskbar strip at the bottom of a 1280 × 800 screen.
constexpr Rect kWineTaskbar{0, 780, 1280, 800};

Config with_layout(void (*change)(Layout&)) {
  Config config;
  change(config.layout);
  return config;
}

TEST(Placement, DefaultsInWinesTaskbar) {
  const Config config;
  const PlacementResult result = compute_placement(config, kWineTaskbar, 96, 4, std::nullopt);
  // Band 32 reduced to the room of a 20-pixel taskbar (20 − 2 × 3); two-pixel lines; the slack
  // of (14 − 11) / 2 limits the inset; right-aligned 8 pixels in from the end.
  EXPECT_EQ(result.geometry, (Geometry{2, 14, std::nullopt, 1}));
  EXPECT_EQ(result.placement, (Placement{1192, 783, 80, 20}));
}

TEST(Placement, DefaultsAt144Dpi) {
  const Config config;
  const PlacementResult result = compute_placement(config, Rect{0, 772, 1280, 800}, 144, 4, std::nullopt);
  // t = 28 × 96 / 144 = 18 → band 12; L = 80 × 1.5; K = 18 × 1.5 − 0.5; D = 12; y offset 4.5 → 4.
  EXPECT_EQ(result.geometry, (Geometry{2, 12, std::nullopt, 0}));
  EXPECT_EQ(result.placement, (Placement{1148, 776, 120, 27}));
}

TEST(Placement, EveryLengthScalesOnItsOwnAndTruncates) {
  Config config;
  config.layout.anchor = Anchor::Left;
  config.layout.offset_x = 5;    // 7.5 → 7
  config.layout.offset_y = 1;    // 1.5 → 1
  config.layout.line_length = 61;  // (61 + 2 × 8) × 1.5 = 115.5 → 115
  config.layout.band_height = 13;
  config.layout.padding_y = 1;   // K = (2 + 13) × 1.5 = 22.5 → 22
  const PlacementResult result = compute_placement(config, Rect{100, 0, 1380, 60}, 144, 1, std::nullopt);
  EXPECT_EQ(result.placement, (Placement{107, 1 + (60 - 22) / 2, 115, 22}));
}

TEST(Placement, VerticalTaskbarIsCentredAcrossAndRunsDown) {
  Config config;
  config.layout.anchor = Anchor::Right;
  config.layout.offset_y = 50;  // not used across a vertical taskbar
  const PlacementResult result = compute_placement(config, Rect{1240, 0, 1280, 800}, 96, 4, std::nullopt);
  // t = 40 → band 32 fits; K = 38 is centred in 40; L = 80 ends 8 pixels above the bottom.
  EXPECT_EQ(result.geometry, (Geometry{2, 32, std::nullopt, 5}));
  EXPECT_EQ(result.placement, (Placement{1241, 712, 38, 80}));
}

TEST(Placement, TrayLeftEndsOffsetBeforeTheNotificationArea) {
  const Config config;  // tray_left, offset_x 8, L = 80
  const Rect tray{1100, 780, 1280, 800};
  EXPECT_EQ(compute_placement(config, kWineTaskbar, 96, 4, tray).placement, (Placement{1100 - 8 - 80, 783, 80, 20}));
  // At 144 DPI the offset and the length scale: 1100 − 12 − 120.
  EXPECT_EQ(compute_placement(config, kWineTaskbar, 144, 4, tray).placement.x, 968);
  // On a vertical taskbar the notification area's top counts.
  const Rect vertical_tray{0, 600, 40, 800};
  EXPECT_EQ(compute_placement(config, Rect{0, 0, 40, 800}, 96, 4, vertical_tray).placement.y, 600 - 8 - 80);
}

TEST(Placement, TrayLeftWithoutAValidNotificationAreaPlacesLikeRight) {
  const Config config;
  const Placement right = compute_placement(config, kWineTaskbar, 96, 4, std::nullopt).placement;
  EXPECT_EQ(right.x, 1280 - 8 - 80);
  EXPECT_EQ(compute_placement(config, kWineTaskbar, 96, 4, Rect{1100, 780, 1100, 800}).placement, right);
  EXPECT_EQ(compute_placement(config, kWineTaskbar, 96, 4, Rect{1100, 780, 900, 800}).placement, right);
}

TEST(Placement, AnchorsAndClampingToTheStart) {
  const struct {
    const char* name;
    Anchor anchor;
    std::int32_t offset_x;
    std::int32_t line_length;
    std::int32_t expected_x;
    std::int32_t expected_width;
  } cases[] = {
      {"left, offset in from the start", Anchor::Left, 8, 64, 8, 80},
      {"left, negative offset clamped to the start", Anchor::Left, -30, 64, 0, 80},
      {"right, offset pushes it before the start", Anchor::Right, 300, 1100, 0, 1116},
      {"right, negative offset clamped back to the end", Anchor::Right, -50, 64, 1200, 80},
      {"right, exactly the taskbar's length", Anchor::Right, 0, 1264, 0, 1280},
      {"right, longer than the taskbar: starts at its start, no longer than it", Anchor::Right, 8, 5000, 0, 1280},
  };
  for (const auto& c : cases) {
    Config config;
    config.layout.anchor = c.anchor;
    config.layout.offset_x = c.offset_x;
    config.layout.line_length = c.line_length;
    const Placement placement = compute_placement(config, kWineTaskbar, 96, 4, std::nullopt).placement;
    EXPECT_EQ(placement.x, c.expected_x) << c.name;
    EXPECT_EQ(placement.width, c.expected_width) << c.name;
  }
}

TEST(Placement, BandIsRaisedToHoldEveryLineAndReducedToTheRoom) {
  const Rect tall{0, 0, 1280, 60};
  const struct {
    const char* name;
    std::int32_t band_height;
    std::int32_t min_thickness;
    std::int32_t padding_y;
    std::uint32_t expected_band;
  } cases[] = {
      {"as configured", 30, 1, 3, 30},
      {"raised to items × tmin", 5, 3, 3, 12},
      {"zero raised to items × tmin", 0, 1, 3, 4},
      {"reduced to the taskbar's room", 100, 1, 3, 54},
      {"room never below items × tmin", 100, 1, 40, 4},
      {"negative padding widens the room", 100, 1, -5, 70},
  };
  for (const auto& c : cases) {
    Config config;
    config.layout.band_height = c.band_height;
    config.layout.min_line_thickness = c.min_thickness;
    config.layout.padding_y = c.padding_y;
    EXPECT_EQ(compute_placement(config, tall, 96, 4, std::nullopt).geometry.band, c.expected_band) << c.name;
  }
}

TEST(Placement, LineThicknessIsTheLargestThatFitsWithOnePixelGaps) {
  const Rect tall{0, 0, 1280, 60};
  Config config;
  config.layout.min_line_thickness = 1;
  config.layout.max_line_thickness = 4;
  config.layout.band_height = 24;
  EXPECT_EQ(compute_placement(config, tall, 96, 5, std::nullopt).geometry.thickness, 4u);  // 5 × 5 − 1 = 24
  config.layout.band_height = 23;
  EXPECT_EQ(compute_placement(config, tall, 96, 5, std::nullopt).geometry.thickness, 3u);
  // Not even tmin fits (the band was raised to 5 × 3 = 15, lines need 5 × 4 − 1): tmin.
  config.layout.min_line_thickness = 3;
  config.layout.band_height = 1;
  EXPECT_EQ(compute_placement(config, tall, 96, 5, std::nullopt).geometry.thickness, 3u);
  // tmax below tmin counts as tmin; no items count as one line.
  config.layout.min_line_thickness = 2;
  config.layout.max_line_thickness = -7;
  config.layout.band_height = 30;
  EXPECT_EQ(compute_placement(config, tall, 96, 0, std::nullopt).geometry.thickness, 2u);
}

// The closed form against the search it replaces, over every small case.
TEST(Placement, LineThicknessMatchesTheSearchFromTmaxDown) {
  for (std::int64_t tmin = 1; tmin <= 6; ++tmin) {
    for (std::int64_t tmax = tmin; tmax <= 9; ++tmax) {
      for (std::int64_t lines = 1; lines <= 6; ++lines) {
        for (std::int64_t band = tmin * lines; band <= 70; ++band) {
          std::int64_t expected = tmin;
          for (std::int64_t t = tmax; t >= tmin; --t) {
            if (lines * (t + 1) - 1 <= band) {
              expected = t;
              break;
            }
          }
          ASSERT_EQ(line_thickness(tmin, tmax, lines, band), expected) << tmin << " " << tmax << " " << lines << " " << band;
        }
      }
    }
  }
}

TEST(Placement, LineInsetIsLimitedToTheSlack) {
  const Rect tall{0, 0, 1280, 60};
  const struct {
    std::int32_t line_inset;
    std::uint32_t expected;
  } cases[] = {{-1, 0}, {kMin, 0}, {0, 0}, {3, 3}, {6, 6}, {7, 6}, {kMax, 6}};
  for (const auto& c : cases) {
    Config config;
    config.layout.band_height = 24;  // 4 lines of 2 with gaps use 11 rows: slack (24 − 11) / 2 = 6
    config.layout.line_inset = c.line_inset;
    EXPECT_EQ(compute_placement(config, tall, 96, 4, std::nullopt).geometry.line_inset, c.expected) << c.line_inset;
  }
}

TEST(Placement, WeatherIconTakesASquareOfTheBandPlusItsGap) {
  Config config;
  config.weather.enabled = true;
  config.weather.icon_gap = 4;
  const PlacementResult result = compute_placement(config, kWineTaskbar, 96, 4, std::nullopt);
  EXPECT_EQ(result.geometry, (Geometry{2, 14, 4, 1}));
  EXPECT_EQ(result.placement.width, 14 + 4 + 80);
  config.weather.icon_gap = -9;
  EXPECT_EQ(compute_placement(config, kWineTaskbar, 96, 4, std::nullopt).geometry.icon_gap, std::optional<std::int32_t>(0));
}

TEST(Placement, ExtremeValuesNeverMakeTheWindowLargerThanTheTaskbar) {
  const struct {
    const char* name;
    void (*change)(Layout&);
    Placement expected;
  } cases[] = {
      {"huge line length", [](Layout& l) { l.line_length = kMax; }, {0, 783, 1280, 20}},
      {"huge padding across", [](Layout& l) { l.padding_y = kMax; }, {1192, 783, 80, 20}},
      {"huge band and tmin", [](Layout& l) { l.band_height = kMax; l.min_line_thickness = kMax; }, {1192, 783, 80, 20}},
      {"huge offset to the left", [](Layout& l) { l.offset_x = kMax; }, {0, 783, 80, 20}},
      {"huge offset to the right", [](Layout& l) { l.offset_x = kMin; }, {1200, 783, 80, 20}},
      {"huge offset across moves the window, unclamped", [](Layout& l) { l.offset_y = kMax; }, {1192, kMax, 80, 20}},
      // A negative length is kept as it is (a push draws such a window one pixel long).
      {"negative length", [](Layout& l) { l.line_length = -1000; }, {2256, 783, -984, 20}},
  };
  for (const auto& c : cases) {
    const Config config = with_layout(c.change);
    EXPECT_EQ(compute_placement(config, kWineTaskbar, 96, 4, std::nullopt).placement, c.expected) << c.name;
  }
}

TEST(Placement, HugeDpiAndItemCountsSaturate) {
  Config config;
  config.layout.line_length = kMax;
  config.layout.band_height = kMax;
  config.layout.min_line_thickness = kMax;
  config.layout.max_line_thickness = kMax;
  const PlacementResult result =
      compute_placement(config, Rect{kMin, kMin, kMax, kMax}, std::numeric_limits<std::uint32_t>::max(),
                        std::numeric_limits<std::size_t>::max(), Rect{kMin, kMin, kMax, kMax});
  EXPECT_EQ(result.placement.width, kMax);
  EXPECT_EQ(result.placement.height, kMax);
  EXPECT_EQ(result.geometry.band, std::numeric_limits<std::uint32_t>::max());
  EXPECT_EQ(result.geometry.thickness, static_cast<std::uint32_t>(kMax));
}

// Random configurations over the whole 32-bit range (and near the usual values) in random
// containers: nothing undefined (the host build runs under UBSan), and the window is never
// longer or thicker than its container.
TEST(Placement, RandomConfigurationsStayInsideTheContainer) {
  std::mt19937_64 random(20240611);
  const auto any32 = [&random]() -> std::int32_t {
    switch (random() % 4) {
      case 0: return static_cast<std::int32_t>(static_cast<std::uint32_t>(random()));
      case 1: return static_cast<std::int32_t>(random() % 200) - 50;
      case 2: return random() % 2 ? kMax - static_cast<std::int32_t>(random() % 3) : kMin + static_cast<std::int32_t>(random() % 3);
      default: return static_cast<std::int32_t>(random() % 70000) - 35000;
    }
  };
  const std::uint32_t dpis[] = {0, 1, 72, 96, 120, 144, 192, 480, 65535, std::numeric_limits<std::uint32_t>::max()};
  for (int i = 0; i < 200000; ++i) {
    Config config;
    Layout& l = config.layout;
    l.anchor = static_cast<Anchor>(random() % 3);
    l.offset_x = any32();
    l.offset_y = any32();
    l.line_length = any32();
    l.min_line_thickness = any32();
    l.max_line_thickness = any32();
    l.band_height = any32();
    l.padding_x = any32();
    l.padding_y = any32();
    l.line_inset = any32();
    config.weather.enabled = random() % 2 == 0;
    config.weather.icon_gap = any32();
    Rect container{any32(), any32(), any32(), any32()};
    if (random() % 2) {
      // A sensible taskbar, so that ordinary layouts are covered too.
      container = Rect{static_cast<std::int32_t>(random() % 100), 700, 1280, 700 + static_cast<std::int32_t>(random() % 80)};
    }
    std::optional<Rect> tray;
    if (random() % 2) tray = Rect{any32(), any32(), any32(), any32()};
    const std::uint32_t dpi = dpis[random() % std::size(dpis)];
    const std::size_t items = random() % 8 == 0 ? static_cast<std::size_t>(random()) : random() % 6;

    const PlacementResult result = compute_placement(config, container, dpi, items, tray);
    const bool vertical = container.width() < container.height();
    const std::int64_t along = vertical ? container.height() : container.width();
    const std::int64_t across = vertical ? container.width() : container.height();
    const std::int64_t length = vertical ? result.placement.height : result.placement.width;
    const std::int64_t thickness = vertical ? result.placement.width : result.placement.height;
    ASSERT_LE(length, std::max<std::int64_t>(along, 0)) << i;
    ASSERT_LE(thickness, std::max<std::int64_t>(across, 0)) << i;
    ASSERT_GE(result.geometry.thickness, 1u) << i;
    ASSERT_GE(result.geometry.band, 1u) << i;
    // The pixel buffer a push makes, w × h with each at least 1, is never larger than the container's.
    ASSERT_LE(std::max<std::int64_t>(1, result.placement.width), std::max<std::int64_t>(1, container.width())) << i;
    ASSERT_LE(std::max<std::int64_t>(1, result.placement.height), std::max<std::int64_t>(1, container.height())) << i;
  }
}

TEST(RelayoutLine, PrintsGeometryAndPlacementInStructureForm) {
  EXPECT_EQ(format_relayout_line(AttachMode::Overlay, false, 96, Rect{0, 780, 1280, 800},
                                 Geometry{2, 24, 4, 1}, Placement{10, 0, 120, 40}),
            "relayout mode=Overlay vertical=false dpi=96 container=1280x20 geometry=Geometry { thickness: 2, band: 24, "
            "icon_gap: Some(4), line_inset: 1 } placement=Placement { x: 10, y: 0, width: 120, height: 40 }");
  EXPECT_EQ(format_relayout_line(AttachMode::Child, true, 144, Rect{0, 0, 60, 1040},
                                 Geometry{4294967295u, 1, std::nullopt, 0}, Placement{-3, kMin, 0, -7}),
            "relayout mode=Child vertical=true dpi=144 container=60x1040 geometry=Geometry { thickness: 4294967295, "
            "band: 1, icon_gap: None, line_inset: 0 } placement=Placement { x: -3, y: -2147483648, width: 0, height: -7 }");
  const std::string wide = "relayout mode=TrayOnly vertical=false dpi=96 container=4294967295x1 ";
  EXPECT_EQ(format_relayout_line(AttachMode::TrayOnly, false, 96, Rect{kMin, 0, kMax, 1}, Geometry{}, Placement{})
                .substr(0, wide.size()),
            wide);
}

}  // namespace
}  // namespace vessa
