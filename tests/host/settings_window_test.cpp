#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "config/colors.hpp"
#include "config/config.hpp"
#include "render/canvas.hpp"
#include "settings/settings_collect.hpp"
#include "settings/settings_layout.hpp"
#include "settings/settings_model.hpp"
#include "settings/ui_text.hpp"

namespace vessa {

void PrintTo(const ControlBox& box, std::ostream* out) {
  *out << "{" << box.x << ", " << box.y << ", " << box.width << ", " << box.height << "}";
}

namespace {

const TextTable& english() { return ui_texts(UiLanguage::English); }
const TextTable& japanese() { return ui_texts(UiLanguage::Japanese); }

// --- Layout -----------------------------------------------------------------------------------

struct MetricsCase {
  const char* name;
  std::uint32_t dpi;
  std::int32_t widest_label;
  std::int32_t margin_x, label_width, content_right, row_step, tab_height, page_top, label_offset;
};

TEST(SettingsLayout, MetricsScaleWithTheDpi) {
  const MetricsCase cases[] = {
      // x0 = 14 + 12; labels 100 + 12 = 112 beat the 110 minimum; 190 wide controls.
      {"96 dpi", 96, 100, 26, 112, 328, 27, 32, 56, 4},
      // Rows 27 × 1.5 = 40.5 → 40; tabs 144 / 3 = 48; x0 = 21 + 18; the minimum 165 wins.
      {"144 dpi", 144, 100, 39, 165, 39 + 165 + 285, 40, 48, 21 + 63, 6},
      // 120 DPI truncates each length on its own: 27 × 1.25 = 33.75 → 33, 14 × 1.25 → 17.
      {"120 dpi", 120, 150, 17 + 15, 165, 32 + 165 + 237, 33, 40, 17 + 52, 5},
      {"unknown dpi counts as 96", 0, 0, 26, 110, 326, 27, 32, 56, 4},
      {"a huge label saturates", 96, std::numeric_limits<std::int32_t>::max(), 26,
       std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max(), 27, 32, 56, 4},
  };
  for (const MetricsCase& c : cases) {
    SCOPED_TRACE(c.name);
    const SettingsMetrics m = settings_metrics(c.dpi, c.widest_label);
    EXPECT_EQ(m.margin_x, c.margin_x);
    EXPECT_EQ(m.label_width, c.label_width);
    EXPECT_EQ(m.content_right, c.content_right);
    EXPECT_EQ(m.row_step, c.row_step);
    EXPECT_EQ(m.tab_height, c.tab_height);
    EXPECT_EQ(m.page_top, c.page_top);
    EXPECT_EQ(m.label_offset, c.label_offset);
  }
}

TEST(SettingsLayout, PageFlowPlacesRowsHeadingsAndCheckBoxes) {
  const SettingsMetrics m = settings_metrics(144, 100);  // x0 39, controls at 204, right edge 489
  PageFlow flow(m);
  const ControlBox heading = flow.heading(80);  // 21 of space, 27 high, as wide as 80 + 9
  EXPECT_EQ(heading, (ControlBox{39, 84 + 21, 89, 27}));
  const ControlBox wide_heading = flow.heading(10000);  // at most the content width
  EXPECT_EQ(wide_heading.width, 489 - 39);
  const int row_top = flow.y();
  const PageFlow::LabelledRow row = flow.labelled_row();
  EXPECT_EQ(row.label, (ControlBox{39, row_top + 6, 165, 33}));
  EXPECT_EQ(row.control, (ControlBox{204, row_top, 285, 33}));
  const PageFlow::LabelledRow combo = flow.labelled_row(true);
  EXPECT_EQ(combo.control, (ControlBox{204, row_top + 40, 285, 300}));  // the drop-down's height
  EXPECT_EQ(flow.bottom(), row_top + 40 + 6 + 33);  // the label; a closed combo counts with its face only
  const ControlBox check = flow.check_box(100, 12);
  EXPECT_EQ(check, (ControlBox{51, row_top + 80, 100 + 33, 30}));
  const ControlBox long_check = flow.check_box(5000);  // ends at the content's right edge
  EXPECT_EQ(long_check, (ControlBox{39, row_top + 80 + 36, 489 - 39, 30}));
}

TEST(SettingsLayout, ButtonsAndWindowSize) {
  struct Case {
    std::uint32_t dpi;
    ControlBox ok, cancel;
    std::int32_t client_width, client_height;
  };
  const Case cases[] = {
      // Cancel ends 12 right of 400, OK 8 left of it; 14 of client beyond both.
      {96, {400 + 12 - 92 - 8 - 92, 320, 92, 28}, {400 + 12 - 92, 320, 92, 28}, 426, 362},
      {144, {400 + 18 - 138 - 12 - 138, 330, 138, 42}, {418 - 138, 330, 138, 42}, 439, 393},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const ButtonRow row = button_row(settings_metrics(c.dpi, 0), 300, 400);
    EXPECT_EQ(row.ok, c.ok);
    EXPECT_EQ(row.cancel, c.cancel);
    EXPECT_EQ(row.client_width, c.client_width);
    EXPECT_EQ(row.client_height, c.client_height);
  }
  EXPECT_EQ(check_list_height(96, 3), 3 * 24 + 20);
  EXPECT_EQ(check_list_height(144, 1), 36 + 30);
  EXPECT_EQ(tab_box(settings_metrics(144, 0), 39, 60), (ControlBox{39, 21, 60 + 36, 48}));
}

// --- Texts ------------------------------------------------------------------------------------

TEST(SettingsTexts, LabelsWithUnitsAndTheBarAreaLimit) {
  EXPECT_EQ(label_with_unit(english().text(TextId::BarWidth), english().text(TextId::UnitPixels)), "Bar width (px)");
  EXPECT_EQ(label_with_unit(japanese().text(TextId::UpdateInterval), japanese().text(TextId::UnitMilliseconds)),
            "更新間隔 (ミリ秒)");
  EXPECT_EQ(label_with_unit(english().text(TextId::FullScale), english().text(TextId::UnitMbps)),
            "Full scale (Mbps)");
  EXPECT_EQ(bar_area_label(english(), std::nullopt), "Bar area height (px)");
  EXPECT_EQ(bar_area_label(english(), 14), "Bar area height (px, max 14)");
  EXPECT_EQ(bar_area_label(japanese(), 40), "バー領域の高さ (px, 最大 40)");
}

TEST(SettingsTexts, CoordinatesAndNumbers) {
  EXPECT_EQ(configured_coordinates_text(35.68952, 139.691706), "35.6895, 139.6917");
  EXPECT_EQ(configured_coordinates_text(-33.9, -70.0), "-33.9000, -70.0000");
  EXPECT_EQ(configured_coordinates_text(35.0, std::nullopt), "");
  EXPECT_EQ(configured_coordinates_text(std::nullopt, std::nullopt), "");
  EXPECT_EQ(shortest_number_text(100.0), "100");
  EXPECT_EQ(shortest_number_text(2.5), "2.5");
  EXPECT_EQ(shortest_number_text(0.1), "0.1");
}

// --- Disks, adapters, lamps, swatches -------------------------------------------------------

TEST(SettingsLists, DiskChoicesAndSelection) {
  const std::vector<std::string> instances = {"D:", "_Total", "HarddiskVolume1", "C:", "c:", "C:", "AB:", "1:"};
  const std::vector<std::string> choices = disk_choices(instances);
  EXPECT_EQ(choices, (std::vector<std::string>{"_Total", "C:", "D:", "c:"}));
  EXPECT_EQ(disk_choices({}), (std::vector<std::string>{"_Total"}));  // Wine: nothing listed

  struct Case {
    const char* name;
    std::vector<std::string> configured;
    std::vector<bool> selection;
  };
  const std::vector<std::string> letters = {"_Total", "C:", "D:"};
  const Case cases[] = {
      {"nothing configured selects All", {}, {true, false, false}},
      {"case and blanks are ignored", {" d: "}, {false, false, true}},
      {"an unlisted disk selects nothing, so All", {"E:"}, {true, false, false}},
      {"blank entries are skipped", {"", "  "}, {true, false, false}},
      {"_Total selects All", {"_total"}, {true, false, false}},
      {"several", {"D:", "C:"}, {false, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(disk_selection(letters, c.configured), c.selection);
  }
  EXPECT_TRUE(disk_selection({}, {"C:"}).empty());

  EXPECT_EQ(selected_disks(letters, {false, false, true}), (std::vector<std::string>{"D:"}));
  EXPECT_TRUE(selected_disks(letters, {true, true, true}).empty());  // All wins
  EXPECT_TRUE(selected_disks(letters, {false, false, false}).empty());
  EXPECT_TRUE(selected_disks(letters, {}).empty());
  EXPECT_EQ(disk_button_text(letters, {false, true, true}, english()), "C:, D:  \u25BE");
  EXPECT_EQ(disk_button_text(letters, {true, false, false}, english()), "All  \u25BE");
  EXPECT_EQ(disk_button_text(letters, {false, false, false}, japanese()), "すべて  \u25BE");
}

TEST(SettingsLists, AdapterItem) {
  const std::vector<std::string> adapters = adapter_choices({"Wi-Fi", "Ethernet", "", "Ethernet"});
  EXPECT_EQ(adapters, (std::vector<std::string>{"Ethernet", "Wi-Fi"}));
  EXPECT_EQ(adapter_item(adapters, ""), 0u);
  EXPECT_EQ(adapter_item(adapters, " Wi-Fi "), 2u);
  EXPECT_EQ(adapter_item(adapters, "wi-fi"), 0u);  // names match exactly
  EXPECT_EQ(adapter_item({}, "Ethernet"), 0u);
}

TEST(SettingsLists, LampPresetChoice) {
  EXPECT_EQ(lamp_preset_item(LampSlot::Read, rgb_hex(0x4A7FD9)), 0u);
  EXPECT_EQ(lamp_preset_item(LampSlot::Read, rgb_hex(0x123456)), 3u);  // the fourth preset
  EXPECT_EQ(lamp_preset_item(LampSlot::Write, rgb_hex(0xB563AC)), 5u);
  EXPECT_EQ(lamp_preset_item(LampSlot::Write, rgb_hex(0x4A7FD9)), 2u);  // a read preset is not a write one
  EXPECT_EQ(lamp_preset_item(LampSlot::Both, rgb_hex(0x000000)), 2u);
  // The defaults of the configuration are presets, so a fresh window shows them.
  const Appearance defaults;
  EXPECT_EQ(lamp_presets(LampSlot::Read)[lamp_preset_item(LampSlot::Read, defaults.disk_lamp_read_color)],
            defaults.disk_lamp_read_color);
  EXPECT_EQ(lamp_presets(LampSlot::Both)[lamp_preset_item(LampSlot::Both, defaults.disk_lamp_both_color)],
            defaults.disk_lamp_both_color);
}

TEST(SettingsLists, SwatchesFollowTheScheme) {
  const Swatches mine = {rgb_hex(0x010203), rgb_hex(0x040506), rgb_hex(0x070809), rgb_hex(0x0A0B0C),
                         rgb_hex(0x0D0E0F)};
  const Swatches standard = {StandardColors::cpu, StandardColors::memory, StandardColors::disk,
                             StandardColors::net_rx, StandardColors::gpu};
  EXPECT_EQ(swatches_for_scheme(ColorScheme::Standard, ColorFamily::Red, true, mine), standard);
  EXPECT_EQ(swatches_for_scheme(ColorScheme::Custom, ColorFamily::Red, true, mine), mine);
  const FamilyHue hue = family_hue(ColorFamily::Mono);
  const auto light_greys = family_palette(hue.hue, hue.saturation, false);
  const Swatches family = swatches_for_scheme(ColorScheme::Family, ColorFamily::Mono, false, mine);
  EXPECT_EQ(family[0], light_greys[0]);
  EXPECT_EQ(family[3], light_greys[3]);  // receive is the fourth shade
  EXPECT_EQ(family[4], light_greys[4]);
}

TEST(SettingsLists, BarAreaLimit) {
  EXPECT_EQ(bar_area_limit(std::nullopt, 3), std::nullopt);
  EXPECT_EQ(bar_area_limit(TaskbarExtent{1280, 20, 96}, 3), 14);   // Wine's 20-pixel taskbar
  EXPECT_EQ(bar_area_limit(TaskbarExtent{1280, 28, 144}, 3), 12);  // 28 × 96 / 144 = 18
  EXPECT_EQ(bar_area_limit(TaskbarExtent{62, 1040, 96}, 3), 56);   // vertical: the width
  EXPECT_EQ(bar_area_limit(TaskbarExtent{1280, 4, 96}, 3), 1);     // at least 1
  EXPECT_EQ(bar_area_limit(TaskbarExtent{1280, 48, 0}, 0), 48);    // unknown DPI counts as 96
}

TEST(SettingsTheme, DarkControlThemes) {
  EXPECT_EQ(control_theme("Edit", true), "DarkMode_CFD");
  EXPECT_EQ(control_theme("COMBOBOX", true), "DarkMode_CFD");
  EXPECT_EQ(control_theme("Button", true), "DarkMode_Explorer");
  EXPECT_EQ(control_theme("Static", true), "DarkMode_Explorer");
  EXPECT_EQ(control_theme("Edit", false), std::nullopt);
  EXPECT_EQ(control_theme("Button", false), std::nullopt);
}

TEST(SettingsPreview, SampleFiguresFollowTheItemsAndTheLamp) {
  Config config;
  config.metrics.items = {MetricKind::Gpu, MetricKind::Net, MetricKind::Cpu};
  MetricSample sample = preview_sample(config);
  ASSERT_EQ(sample.bars.size(), 3u);
  EXPECT_EQ(sample.bars[0], (BarValue{21.0, MetricKind::Gpu}));
  EXPECT_EQ(sample.bars[1], (BarValue{0.0, MetricKind::Net}));
  EXPECT_EQ(sample.bars[2], (BarValue{62.0, MetricKind::Cpu}));
  EXPECT_EQ(sample.cpu_mhz, 3420.0);
  EXPECT_EQ(sample.net_rx_percent, 58.0);
  EXPECT_EQ(sample.net_tx_percent, 34.0);
  ASSERT_EQ(sample.disks.size(), 1u);
  EXPECT_TRUE(sample.disks[0].read_lit && sample.disks[0].write_lit && sample.lamp_lit);
  config.metrics.disk_lamp = false;
  sample = preview_sample(config);
  EXPECT_TRUE(sample.disks.empty());
  EXPECT_FALSE(sample.lamp_lit);
}

// Bounding box of the pixels of one opaque colour.
struct Extent {
  int count = 0, left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
Extent extent_of(const PixelBuffer& picture, Rgb color) {
  const std::uint32_t wanted = premultiply(color.r, color.g, color.b, 255);
  Extent e;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.at(x, y) != wanted) continue;
      ++e.count;
      e.left = std::min(e.left, x);
      e.right = std::max(e.right, x);
      e.top = std::min(e.top, y);
      e.bottom = std::max(e.bottom, y);
    }
  }
  return e;
}

TEST(SettingsPreview, BarsAreDrawnCentredOverTheBackdrop) {
  const Config config;
  const ResolvedColors colors = resolve_colors(config.appearance, true);
  const Rgb backdrop = preview_background(true);
  const auto flat = preview_pixels(config, colors, 170, 150, 96, std::nullopt, backdrop);
  ASSERT_TRUE(flat.has_value());
  EXPECT_EQ(flat->at(0, 0), premultiply(0x20, 0x20, 0x20, 255));
  EXPECT_EQ(flat->at(169, 149), premultiply(0x20, 0x20, 0x20, 255));
  // The processor bar: 62 % of 64 pixels, one line thick or more, lying along the width.
  const Extent cpu = extent_of(*flat, colors.cpu);
  ASSERT_GT(cpu.count, 0);
  EXPECT_EQ(cpu.right - cpu.left + 1, 40);
  EXPECT_LT(cpu.bottom - cpu.top, 4);
  EXPECT_NEAR((cpu.top + cpu.bottom) / 2, 75, 12);  // about the middle of the box

  const auto turned = preview_pixels(config, colors, 170, 150, 96, VerticalRotation::Clockwise, backdrop);
  ASSERT_TRUE(turned.has_value());
  const Extent down = extent_of(*turned, colors.cpu);
  ASSERT_GT(down.count, 0);
  EXPECT_EQ(down.bottom - down.top + 1, 40);
  EXPECT_LT(down.right - down.left, 4);

  EXPECT_FALSE(preview_pixels(config, colors, 0, 150, 96, std::nullopt, backdrop).has_value());
}

// --- Collecting -------------------------------------------------------------------------------

// The controls exactly as a window opened on `config` fills them.
SettingsControlValues values_for(const Config& config) {
  SettingsControlValues v;
  v.scheme = static_cast<std::size_t>(config.appearance.color_scheme);
  v.family = static_cast<std::size_t>(config.appearance.color_family);
  v.swatches = swatches_of(config.appearance, true);
  v.temperature_unit = static_cast<std::size_t>(config.weather.temperature_unit);
  v.secondary_displays = config.general.displays == Displays::All;
  v.language = static_cast<std::size_t>(config.general.language);
  for (const MetricKind kind : config.metrics.items) v.items[static_cast<std::size_t>(kind)] = true;
  v.disk_choices = {"_Total", "C:", "D:"};
  v.disk_selection = disk_selection(v.disk_choices, config.metrics.disk_instances);
  v.adapters = {"Ethernet", "Wi-Fi"};
  v.adapter = adapter_item(v.adapters, config.metrics.network_adapter);
  v.bar_width = std::to_string(config.layout.line_length);
  v.update_interval = std::to_string(config.general.update_interval_ms);
  v.band_height = std::to_string(config.layout.band_height);
  v.full_scale = shortest_number_text(config.metrics.network_scale_mbps);
  v.show_track = config.layout.show_track;
  v.vertical_rotation = static_cast<std::size_t>(config.layout.vertical_rotation);
  v.disk_lamp = config.metrics.disk_lamp;
  v.lamp_colors = {config.appearance.disk_lamp_read_color, config.appearance.disk_lamp_write_color,
                   config.appearance.disk_lamp_both_color};
  v.weather_enabled = config.weather.enabled;
  v.location_mode = static_cast<std::size_t>(config.weather.location_mode);
  v.place_name = config.weather.place_name;
  v.coordinates = configured_coordinates_text(config.weather.latitude, config.weather.longitude);
  return v;
}

Config working_config() {
  Config config;
  config.layout.band_height = 12;
  config.metrics.network_scale_mbps = 250.0;
  config.metrics.disk_instances = {"C:"};
  config.metrics.network_adapter = "Wi-Fi";
  config.appearance.cpu_color = rgb_hex(0x111111);
  config.weather.latitude = 35.6895;
  config.weather.longitude = 139.6917;
  config.weather.place_name = "Tokyo";
  return config;
}

TEST(SettingsCollect, UnchangedControlsGiveTheWorkingCopyBack) {
  const Config working = working_config();
  EXPECT_EQ(collect_settings(working, values_for(working), 14), working);
}

struct CollectCase {
  const char* name;
  std::function<void(SettingsControlValues&)> change;
  std::function<void(Config&)> expect;  // applied to the working copy
};

TEST(SettingsCollect, ClampsAndKeepsPreviousValues) {
  const CollectCase cases[] = {
      {"bar width 3 becomes 8", [](auto& v) { v.bar_width = "3"; }, [](Config& c) { c.layout.line_length = 8; }},
      {"bar width with blanks", [](auto& v) { v.bar_width = " 120 "; },
       [](Config& c) { c.layout.line_length = 120; }},
      {"bar width beyond 32 bits is kept", [](auto& v) { v.bar_width = "4294967296"; }, [](Config&) {}},
      {"interval 50 becomes 100", [](auto& v) { v.update_interval = "50"; },
       [](Config& c) { c.general.update_interval_ms = 100; }},
      {"negative interval is kept", [](auto& v) { v.update_interval = "-5"; }, [](Config&) {}},
      {"empty interval is kept", [](auto& v) { v.update_interval = ""; }, [](Config&) {}},
      {"band above the limit becomes the limit", [](auto& v) { v.band_height = "99"; },
       [](Config& c) { c.layout.band_height = 14; }},
      {"band 0 becomes 1", [](auto& v) { v.band_height = "0"; }, [](Config& c) { c.layout.band_height = 1; }},
      {"band 12abc is kept", [](auto& v) { v.band_height = "12abc"; }, [](Config&) {}},
      {"full scale 0 is kept", [](auto& v) { v.full_scale = "0"; }, [](Config&) {}},
      {"negative full scale is kept", [](auto& v) { v.full_scale = "-10"; }, [](Config&) {}},
      {"full scale abc is kept", [](auto& v) { v.full_scale = "abc"; }, [](Config&) {}},
      {"full scale inf is kept", [](auto& v) { v.full_scale = "inf"; }, [](Config&) {}},
      {"full scale 2.5", [](auto& v) { v.full_scale = "2.5"; },
       [](Config& c) { c.metrics.network_scale_mbps = 2.5; }},
      {"no items keeps the list", [](auto& v) { v.items = {}; }, [](Config&) {}},
      {"items in kind order", [](auto& v) { v.items = {false, false, true, false, true}; },
       [](Config& c) { c.metrics.items = {MetricKind::Disk, MetricKind::Gpu}; }},
      {"All checked empties the disks", [](auto& v) { v.disk_selection = {true, false, true}; },
       [](Config& c) { c.metrics.disk_instances.clear(); }},
      {"checked disks in list order", [](auto& v) { v.disk_selection = {false, true, true}; },
       [](Config& c) { c.metrics.disk_instances = {"C:", "D:"}; }},
      {"adapter All empties the name", [](auto& v) { v.adapter = 0; },
       [](Config& c) { c.metrics.network_adapter.clear(); }},
      {"adapter out of range is kept", [](auto& v) { v.adapter = 7; }, [](Config&) {}},
      {"language English", [](auto& v) { v.language = 2; }, [](Config& c) { c.general.language = Language::En; }},
      {"no language selected is kept", [](auto& v) { v.language.reset(); }, [](Config&) {}},
      {"secondary displays", [](auto& v) { v.secondary_displays = true; },
       [](Config& c) { c.general.displays = Displays::All; }},
      {"coordinates 95 are rejected", [](auto& v) { v.coordinates = "95, 10"; }, [](Config&) {}},
      {"longitude 181 is rejected", [](auto& v) { v.coordinates = "10, 181"; }, [](Config&) {}},
      {"no comma is rejected", [](auto& v) { v.coordinates = "10"; }, [](Config&) {}},
      {"coordinates taken at the edges", [](auto& v) { v.coordinates = " -90 , 180 "; },
       [](Config& c) {
         c.weather.latitude = -90.0;
         c.weather.longitude = 180.0;
       }},
      {"place name as typed", [](auto& v) { v.place_name = " Osaka "; },
       [](Config& c) { c.weather.place_name = " Osaka "; }},
      {"lamp colours from their slots", [](auto& v) { v.lamp_colors[1] = rgb_hex(0xC8524B); },
       [](Config& c) { c.appearance.disk_lamp_write_color = rgb_hex(0xC8524B); }},
      {"family keeps the custom keys", [](auto& v) {
         v.scheme = 1;
         v.family = 1;
         v.swatches[0] = rgb_hex(0xFFFFFF);
       },
       [](Config& c) {
         c.appearance.color_scheme = ColorScheme::Family;
         c.appearance.color_family = ColorFamily::Red;
       }},
  };
  const Config working = working_config();
  for (const CollectCase& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsControlValues values = values_for(working);
    c.change(values);
    Config expected = working;
    c.expect(expected);
    EXPECT_EQ(collect_settings(working, values, 14), expected);
  }
}

TEST(SettingsCollect, DisksThatAreNotListedAreDropped) {
  Config working = working_config();
  working.metrics.disk_instances = {"E:", "c:", "HarddiskVolume2"};
  const SettingsControlValues values = values_for(working);  // lists _Total, C:, D:
  EXPECT_EQ(collect_settings(working, values, 14).metrics.disk_instances, (std::vector<std::string>{"C:"}));
  working.metrics.disk_instances = {"E:"};
  EXPECT_TRUE(collect_settings(working, values_for(working), 14).metrics.disk_instances.empty());
}

TEST(SettingsCollect, BandHeightWithoutTaskbarIsOnlyRaisedToOne) {
  const Config working = working_config();
  SettingsControlValues values = values_for(working);
  values.band_height = "500";
  EXPECT_EQ(collect_settings(working, values, std::nullopt).layout.band_height, 500);
  values.band_height = "-3";
  EXPECT_EQ(collect_settings(working, values, std::nullopt).layout.band_height, 1);
}

TEST(SettingsCollect, StandardToCustomSavesTheStandardColoursWithSendAndOverlapDerived) {
  Config working;  // standard scheme
  working.appearance.cpu_color = rgb_hex(0x010101);
  SettingsControlValues values = values_for(working);
  // Switching the combo to custom keeps the swatches the standard scheme showed.
  values.swatches = swatches_for_scheme(ColorScheme::Custom, ColorFamily::Blue, true, values.swatches);
  values.scheme = 2;
  const Config collected = collect_settings(working, values, 14);
  EXPECT_EQ(collected.appearance.color_scheme, ColorScheme::Custom);
  EXPECT_EQ(collected.appearance.cpu_color, StandardColors::cpu);
  EXPECT_EQ(collected.appearance.net_rx_color, StandardColors::net_rx);
  EXPECT_EQ(collected.appearance.gpu_color, StandardColors::gpu);
  EXPECT_EQ(collected.appearance.net_tx_color, darken_color(StandardColors::net_rx));
  EXPECT_EQ(collected.appearance.net_overlap_color, lighten_color(StandardColors::net_rx));
}

TEST(SettingsCollect, NumberReaders) {
  EXPECT_EQ(read_int32("-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(read_int32("2147483648"), std::nullopt);
  EXPECT_EQ(read_uint32("4294967295"), 4294967295u);
  EXPECT_EQ(read_uint32("\u3000" "42\u3000"), 42u);  // ideographic spaces are white space too
  EXPECT_EQ(read_real("1e3"), 1000.0);
  EXPECT_EQ(read_real("nan"), std::nullopt);
  EXPECT_EQ(read_real("0x10"), std::nullopt);
  ASSERT_TRUE(read_coordinates("1,2,3") == std::nullopt);  // "2,3" is not a number
}

}  // namespace
}  // namespace vessa
