// The settings window as a user meets it: opened from the tray menu in the configured
// language, its preview drawing bars, its tabs switching pages in the application's theme.
// The dark pictures of the three pages go into the artefact folder for the README
// (scripts/settings-pictures.sh).
#include <gtest/gtest.h>

#include "base/wide_win.hpp"
#include "restore_guards_win.hpp"
#include "settings_support.hpp"

namespace vessa::test {
namespace {

struct LanguageCase {
  const char* config;
  UiLanguage language;
  friend void PrintTo(const LanguageCase& c, std::ostream* out) { *out << c.config; }
};

class Shell_SettingsOpening : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(Shell_SettingsOpening, SettingsFromTheTrayMenuOpensTheWindowWithItsTabsInTheConfiguredLanguage) {
  const TextTable& texts = ui_texts(GetParam().language);
  SettingsVessa vessa(GetParam().config);
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(vessa.settings_windows().empty());

  const auto settings = vessa.open_settings(texts);
  ASSERT_TRUE(settings.has_value()) << "no VessaSettingsWindow after \"Settings...\" in the tray menu";
  EXPECT_EQ(window_text(*settings), widen(texts.text(TextId::SettingsTitle)));
  const TextId captions[] = {TextId::PageMonitors, TextId::PageAppearance, TextId::PageAbout};
  for (int tab = 0; tab < 3; ++tab) {
    HWND button = control_of(*settings, control::kFirstTab + tab);
    ASSERT_NE(button, nullptr) << "tab " << tab;
    EXPECT_TRUE(IsWindowVisible(button)) << "tab " << tab;
    EXPECT_EQ(window_text(button), widen(texts.text(captions[tab]))) << "tab " << tab;
  }
  click_control(*settings, control::kCancel);
  EXPECT_TRUE(vessa.settings_closed());
  EXPECT_TRUE(vessa.process->running());
}

INSTANTIATE_TEST_SUITE_P(Shell_Languages, Shell_SettingsOpening,
                         ::testing::Values(LanguageCase{"[general]\nlanguage = \"ja\"\n", UiLanguage::Japanese},
                                           LanguageCase{"[general]\nlanguage = \"en\"\n", UiLanguage::English}));

// The preview draws the configured items in their colours (the default standard colours,
// drawn opaque, so whole pixels carry them exactly), and follows the item boxes at once.
TEST(Shell_SettingsPreview, ThePreviewShowsTheConfiguredBarsAndFollowsTheItemBoxes) {
  SettingsVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  HWND preview = control_of(*settings, control::kPreview);
  ASSERT_NE(preview, nullptr);
  ASSERT_TRUE(IsWindowVisible(preview));

  const struct {
    const char* bar;
    std::uint32_t color;
  } bars[] = {{"cpu", 0x47A8D8}, {"memory", 0x3B5FB0}, {"disk", 0x93C13D}, {"receive", 0xD6538A}, {"send", 0x8F385C}};
  for (const auto& bar : bars) EXPECT_GT(pixels_of(preview, bar.color), 0u) << bar.bar;
  constexpr std::uint32_t kGpuColor = 0xA05FC0;
  EXPECT_EQ(pixels_of(preview, kGpuColor), 0u) << "a graphics bar without the item configured";

  click_control(*settings, control::kGpuItem);
  EXPECT_TRUE(wait_until([&] { return pixels_of(preview, kGpuColor) > 0; }, 3s))
      << "checking GPU did not add its bar to the preview";
  if (pixels_of(preview, kGpuColor) == 0) save_picture(preview, "settings-preview-failed");

  // The pointer over the preview shows the sample tooltip; leaving takes it away again.
  RECT area{};
  GetWindowRect(preview, &area);
  move_pointer((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  EXPECT_TRUE(vessa.tooltip().has_value()) << "no sample tooltip over the preview";
  move_pointer(2, 2);
  EXPECT_TRUE(vessa.no_tooltip()) << "the sample tooltip stayed after the pointer left";
  click_control(*settings, control::kCancel);
  EXPECT_TRUE(vessa.settings_closed());
}

// Each tab shows its own page only, on the background of the application's theme. The dark
// English pages are the README's pictures.
struct ThemeCase {
  const char* name;
  DWORD apps_use_light_theme;
  bool dark;
  friend void PrintTo(const ThemeCase& c, std::ostream* out) { *out << c.name; }
};

class Shell_SettingsPages : public ::testing::TestWithParam<ThemeCase> {};

std::uint32_t client_corner_pixel(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT corner{client.left + 3, client.bottom - 3};
  ClientToScreen(window, &corner);
  return capture_screen().at(corner.x, corner.y);
}

int brightness(std::uint32_t rgb) {
  return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3;
}

TEST_P(Shell_SettingsPages, EachTabShowsOnlyItsPageInTheApplicationTheme) {
  const ThemeCase& c = GetParam();
  RegistryValueGuard theme(L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                           L"AppsUseLightTheme");
  theme.set_dword(c.apps_use_light_theme);
  SettingsVessa vessa("[general]\nlanguage = \"en\"\n");
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(ui_texts(UiLanguage::English));
  ASSERT_TRUE(settings.has_value());

  // A control of each page: the item boxes and the preview, the language, neither on About.
  const char* const pages[] = {"monitors", "appearance", "about"};
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE(pages[page]);
    show_page(*settings, page);
    EXPECT_EQ(IsWindowVisible(control_of(*settings, control::kFirstItem)) != FALSE, page == 0);
    EXPECT_EQ(IsWindowVisible(control_of(*settings, control::kPreview)) != FALSE, page == 0);
    EXPECT_EQ(IsWindowVisible(control_of(*settings, control::kLanguage)) != FALSE, page == 1);
    EXPECT_EQ(IsWindowVisible(control_of(*settings, control::kBarWidth)) != FALSE, page == 1);
    EXPECT_TRUE(IsWindowVisible(control_of(*settings, control::kOk)));
    EXPECT_TRUE(IsWindowVisible(control_of(*settings, control::kCancel)));
    const int background = brightness(client_corner_pixel(*settings));
    if (c.dark) {
      EXPECT_LT(background, 0x60) << "not the dark background";
      save_picture(*settings, std::string("settings-") + pages[page]);
    } else {
      EXPECT_GT(background, 0xA0) << "not the light background";
    }
  }
  click_control(*settings, control::kCancel);
  EXPECT_TRUE(vessa.settings_closed());
}

INSTANTIATE_TEST_SUITE_P(Shell_Themes, Shell_SettingsPages,
                         ::testing::Values(ThemeCase{"Dark", 0, true}, ThemeCase{"Light", 1, false}),
                         CaseName());

}  // namespace
}  // namespace vessa::test
