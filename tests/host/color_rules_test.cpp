// The colour rules: the colour text form, the three schemes, the hue-family shades and the
// theme rules of the taskbar and the settings window.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "config/colors.hpp"

namespace vessa {
namespace {

std::string text_of(const Result<Rgb>& result) {
  return result.ok() ? format_color(*result) : "error: " + result.error().full_text();
}

TEST(ParseColor, AcceptedAndRejectedTexts) {
  const struct {
    std::string_view input;
    std::string expected;
  } cases[] = {
      {"#1e90ff", "#1E90FF"},
      {"1E90FF", "#1E90FF"},
      {"  #1E90FF\t", "#1E90FF"},
      {"\u3000#1E90FF\u00A0", "#1E90FF"},  // Unicode blanks count as white space too
      {"+F+F+F", "#0F0F0F"},
      {"#+0+a00", "#000A00"},
      {"#000000", "#000000"},
      {"#abc", "error: 色は #RRGGBB 形式で指定してください: #abc"},
      {"#1234567", "error: 色は #RRGGBB 形式で指定してください: #1234567"},
      {"", "error: 色は #RRGGBB 形式で指定してください: "},
      {"##1E90FF", "error: 色は #RRGGBB 形式で指定してください: ##1E90FF"},
      {" #1E90F ", "error: 色は #RRGGBB 形式で指定してください:  #1E90F "},  // untrimmed in the message
      {"#GG0000", "error: 色の解析に失敗しました: #GG0000"},
      {"#-F0000", "error: 色の解析に失敗しました: #-F0000"},
      {"#++0000", "error: 色の解析に失敗しました: #++0000"},
      {"#F+0000", "error: 色の解析に失敗しました: #F+0000"},
      {"#1E 0FF", "error: 色の解析に失敗しました: #1E 0FF"},
      {"#\xC3\xA9\xC3\xA9\xC3\xA9", "error: 色の解析に失敗しました: #\xC3\xA9\xC3\xA9\xC3\xA9"},  // six bytes, not six ASCII
  };
  for (const auto& c : cases) EXPECT_EQ(text_of(parse_color(c.input)), c.expected) << c.input;
}

TEST(ParseColor, ChannelsInOrder) {
  const Result<Rgb> color = parse_color("#1e90ff");
  ASSERT_TRUE(color.ok());
  EXPECT_EQ(*color, (Rgb{30, 144, 255}));
}

// Expected shades worked out by hand with 32-bit rounding after every operation (for example
// grey on a dark taskbar, third shade: 0.7f × 255 rounds to 178.5f, which rounds up to 179 =
// #B3, where 64-bit arithmetic would give 178).
TEST(FamilyPalette, EveryFamilyOnBothThemes) {
  using Shades = std::array<const char*, 5>;
  const struct {
    ColorFamily family;
    Shades light;
    Shades dark;
  } cases[] = {
      {ColorFamily::Mono,
       {"#1A1A1A", "#363636", "#535353", "#707070", "#8C8C8C"},
       {"#F2F2F2", "#D2D2D2", "#B3B3B3", "#939393", "#737373"}},
      {ColorFamily::Red,
       {"#DA8188", "#D15F68", "#C73D49", "#A8313B", "#86272F"},
       {"#DA8188", "#D15F68", "#C73D49", "#A8313B", "#86272F"}},
      {ColorFamily::Yellow,
       {"#DABC81", "#D1AB5F", "#C7993D", "#A88031", "#866727"},
       {"#DABC81", "#D1AB5F", "#C7993D", "#A88031", "#866727"}},
      {ColorFamily::Green,
       {"#81DAB5", "#5FD1A1", "#3DC78E", "#31A876", "#27865F"},
       {"#81DAB5", "#5FD1A1", "#3DC78E", "#31A876", "#27865F"}},
      {ColorFamily::Blue,
       {"#81BCDA", "#5FABD1", "#3D99C7", "#3180A8", "#276786"},
       {"#81BCDA", "#5FABD1", "#3D99C7", "#3180A8", "#276786"}},
      {ColorFamily::Pink,
       {"#DA81CB", "#D15FBE", "#C73DB0", "#A83194", "#862776"},
       {"#DA81CB", "#D15FBE", "#C73DB0", "#A83194", "#862776"}},
  };
  for (const auto& c : cases) {
    const FamilyHue hue = family_hue(c.family);
    for (const bool dark : {false, true}) {
      const auto shades = family_palette(hue.hue, hue.saturation, dark);
      const Shades& expected = dark ? c.dark : c.light;
      for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(format_color(shades[i]), expected[i]) << enum_text(c.family) << (dark ? " dark " : " light ") << i;
      }
    }
  }
}

TEST(FamilyPalette, HueTable) {
  const struct {
    ColorFamily family;
    float hue;
    float saturation;
  } cases[] = {
      {ColorFamily::Mono, 0.0f, 0.0f},    {ColorFamily::Red, 355.0f, 0.55f}, {ColorFamily::Yellow, 40.0f, 0.55f},
      {ColorFamily::Green, 155.0f, 0.55f}, {ColorFamily::Blue, 200.0f, 0.55f}, {ColorFamily::Pink, 310.0f, 0.55f},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(family_hue(c.family).hue, c.hue);
    EXPECT_EQ(family_hue(c.family).saturation, c.saturation);
  }
}

TEST(FamilyPalette, HueWrapsAndOddInputsStayDefined) {
  // -5 degrees is 355 degrees; 715 is 355 as well.
  EXPECT_EQ(family_palette(-5.0f, 0.55f, false), family_palette(355.0f, 0.55f, false));
  EXPECT_EQ(family_palette(715.0f, 0.55f, true), family_palette(355.0f, 0.55f, true));
  // Saturation above 1 is clamped; a hue that is not a number falls into the first sector.
  EXPECT_EQ(family_palette(200.0f, 7.0f, false), family_palette(200.0f, 1.0f, false));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_EQ(format_color(family_palette(nan, 0.55f, false)[0]), "#DA0081");  // sector 0, green from NaN is 0
  // Not-a-number saturation gives black channels rather than undefined conversions.
  for (const Rgb shade : family_palette(200.0f, nan, false)) EXPECT_EQ(shade, (Rgb{0, 0, 0}));
  (void)family_palette(inf, 0.55f, true);
  (void)family_palette(-inf, -inf, false);
  (void)family_palette(3.0e38f, 0.55f, false);
}

TEST(DerivedColors, DarkenAndLightenTheReceiveColour) {
  const struct {
    Rgb input;
    Rgb darker;
    Rgb lighter;
  } cases[] = {
      {rgb_hex(0xA8313B), rgb_hex(0x712128), rgb_hex(0xD4989D)},
      {rgb_hex(0x000000), rgb_hex(0x000000), rgb_hex(0x808080)},  // 127.5 rounds away from zero
      {rgb_hex(0xFFFFFF), rgb_hex(0xABABAB), rgb_hex(0xFFFFFF)},
      {rgb_hex(0xD6538A), rgb_hex(0x8F385C), rgb_hex(0xEBA9C5)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(format_color(darken_color(c.input)), format_color(c.darker)) << format_color(c.input);
    EXPECT_EQ(format_color(lighten_color(c.input)), format_color(c.lighter)) << format_color(c.input);
  }
}

TEST(ResolveColors, StandardSchemeIgnoresTheCustomColoursAndTheTheme) {
  Appearance appearance;
  appearance.cpu_color = rgb_hex(0x010203);
  appearance.net_tx_color = rgb_hex(0x040506);
  appearance.disk_lamp_read_color = rgb_hex(0x111111);
  appearance.disk_lamp_write_color = rgb_hex(0x222222);
  appearance.disk_lamp_both_color = rgb_hex(0x333333);
  const ResolvedColors expected{rgb_hex(0x47A8D8), rgb_hex(0x3B5FB0), rgb_hex(0x93C13D), rgb_hex(0xA05FC0),
                                rgb_hex(0xD6538A), rgb_hex(0x8F385C), rgb_hex(0xEFA6C6), rgb_hex(0x111111),
                                rgb_hex(0x222222), rgb_hex(0x333333)};
  EXPECT_EQ(resolve_colors(appearance, true), expected);
  EXPECT_EQ(resolve_colors(appearance, false), expected);
}

TEST(ResolveColors, CustomSchemeUsesTheConfiguredColours) {
  Appearance appearance;
  appearance.color_scheme = ColorScheme::Custom;
  appearance.cpu_color = rgb_hex(0x010101);
  appearance.memory_color = rgb_hex(0x020202);
  appearance.disk_color = rgb_hex(0x030303);
  appearance.net_rx_color = rgb_hex(0x040404);
  appearance.net_tx_color = rgb_hex(0x050505);
  appearance.net_overlap_color = rgb_hex(0x060606);
  appearance.gpu_color = rgb_hex(0x070707);
  const ResolvedColors colors = resolve_colors(appearance, false);
  EXPECT_EQ(colors, (ResolvedColors{rgb_hex(0x010101), rgb_hex(0x020202), rgb_hex(0x030303), rgb_hex(0x070707),
                                    rgb_hex(0x040404), rgb_hex(0x050505), rgb_hex(0x060606), rgb_hex(0x60A96C),
                                    rgb_hex(0xBE6660), rgb_hex(0xD9A441)}));
}

TEST(ResolveColors, FamilySchemeAssignsTheShadesInItsOrder) {
  Appearance appearance;
  appearance.color_scheme = ColorScheme::Family;
  appearance.color_family = ColorFamily::Blue;
  const ResolvedColors blue = resolve_colors(appearance, true);
  EXPECT_EQ(format_color(blue.cpu), "#81BCDA");  // lightest
  EXPECT_EQ(format_color(blue.memory), "#5FABD1");
  EXPECT_EQ(format_color(blue.disk), "#3D99C7");
  EXPECT_EQ(format_color(blue.net_rx), "#3180A8");
  EXPECT_EQ(format_color(blue.gpu), "#276786");  // darkest
  EXPECT_EQ(format_color(blue.net_tx), "#215671");
  EXPECT_EQ(format_color(blue.net_overlap), "#98C0D4");
  EXPECT_EQ(blue.lamp_both, rgb_hex(0xD9A441));

  appearance.color_family = ColorFamily::Mono;
  EXPECT_EQ(format_color(resolve_colors(appearance, false).cpu), "#1A1A1A");
  EXPECT_EQ(format_color(resolve_colors(appearance, true).cpu), "#F2F2F2");
  EXPECT_EQ(format_color(resolve_colors(appearance, true).net_tx), "#626262");
  EXPECT_EQ(format_color(resolve_colors(appearance, false).net_overlap), "#B8B8B8");
}

TEST(ThemeRules, TaskbarIsDarkUnlessTheValueSaysLight) {
  EXPECT_TRUE(taskbar_dark_from(std::nullopt));
  EXPECT_TRUE(taskbar_dark_from(0u));
  EXPECT_FALSE(taskbar_dark_from(1u));
  EXPECT_FALSE(taskbar_dark_from(0xFFFFFFFFu));
}

TEST(ThemeRules, SettingsWindowIsLightUnlessTheValueSaysDark) {
  EXPECT_FALSE(settings_dark_from(std::nullopt));
  EXPECT_TRUE(settings_dark_from(0u));
  EXPECT_FALSE(settings_dark_from(1u));
  EXPECT_FALSE(settings_dark_from(2u));
}

TEST(ThemeRules, SettingsPaletteByTheme) {
  const SettingsPalette light = settings_palette(false);
  const SettingsPalette dark = settings_palette(true);
  const auto texts = [](const SettingsPalette& p) {
    return std::array<std::string, 6>{format_color(p.window_background), format_color(p.control_background),
                                      format_color(p.grey1), format_color(p.grey2), format_color(p.grey3),
                                      format_color(p.grey4)};
  };
  EXPECT_EQ(texts(light), (std::array<std::string, 6>{"#F3F3F3", "#FFFFFF", "#1B1B1B", "#8A8A8A", "#D9D9D9", "#E5E5E5"}));
  EXPECT_EQ(texts(dark), (std::array<std::string, 6>{"#202020", "#2D2D2D", "#F0F0F0", "#808080", "#3D3D3D", "#383838"}));
}

TEST(ThemeRules, AccentColourBytesAreRedGreenBlueFromTheLowest) {
  EXPECT_EQ(format_color(accent_from(std::nullopt)), "#0078D4");
  EXPECT_EQ(format_color(accent_from(0xFF563412u)), "#123456");
  EXPECT_EQ(format_color(accent_from(0x00D47800u)), "#0078D4");
}

TEST(ThemeRules, TrayIconAndPreviewColoursFollowTheTaskbar) {
  EXPECT_EQ(format_color(tray_icon_color_for(std::nullopt, true)), "#F0F0F0");
  EXPECT_EQ(format_color(tray_icon_color_for(std::nullopt, false)), "#202020");
  EXPECT_EQ(format_color(tray_icon_color_for(rgb_hex(0x123456), true)), "#123456");
  EXPECT_EQ(format_color(tray_icon_color_for(rgb_hex(0x123456), false)), "#123456");
  EXPECT_EQ(format_color(preview_background(true)), "#202020");
  EXPECT_EQ(format_color(preview_background(false)), "#F3F3F3");
}

}  // namespace
}  // namespace vessa
