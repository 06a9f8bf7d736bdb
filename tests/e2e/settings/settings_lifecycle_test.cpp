// The settings window within the program's life: the program still ends when asked while the
// window is open, a second "Settings..." keeps one window, and opening and closing it again
// and again leaves nothing behind.
#include <gtest/gtest.h>

#include "default_config_win.hpp"
#include "settings_support.hpp"

namespace vessa::test {
namespace {

struct EndCase {
  const char* name;
  bool from_menu;  // Exit from the tray menu; otherwise the bar window is closed under it
  friend void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }
};

class Shell_SettingsOpenAtExit : public ::testing::TestWithParam<EndCase> {};

TEST_P(Shell_SettingsOpenAtExit, TheProgramEndsWithStatusZeroAndAppliesNothing) {
  SettingsVessa vessa(default_config_text());
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  type_text(*settings, control::kBarWidth, L"100");  // a change that must not be applied

  if (GetParam().from_menu) {
    ASSERT_TRUE(vessa.choose_from_menu(auto_texts(), kExitItem)) << "no tray menu while the window is open";
  } else {
    PostMessageW(vessa.bar, WM_CLOSE, 0, 0);
  }
  EXPECT_EQ(vessa.process->wait(), std::optional<DWORD>(0)) << "the program did not end";
  EXPECT_EQ(vessa.folder.read_config(), std::optional<std::string>(default_config_text()));
}

INSTANTIATE_TEST_SUITE_P(Shell_Ways, Shell_SettingsOpenAtExit,
                         ::testing::Values(EndCase{"ExitFromTheTrayMenu", true}, EndCase{"BarWindowClosed", false}),
                         CaseName());

TEST(Shell_SettingsSecondOpen, ASecondSettingsCommandLeavesOneWindow) {
  SettingsVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  const auto first = vessa.open_settings(auto_texts());
  ASSERT_TRUE(first.has_value());
  ASSERT_TRUE(vessa.choose_from_menu(auto_texts(), kSettingsItem)) << "no tray menu while the window is open";
  Sleep(1000);
  EXPECT_EQ(vessa.settings_windows(), std::vector<HWND>{*first});

  click_control(*first, control::kCancel);
  EXPECT_TRUE(vessa.settings_closed());
  Sleep(1000);
  EXPECT_TRUE(vessa.settings_windows().empty()) << "another window opened after the first had gone";
  EXPECT_TRUE(vessa.process->running());
}

TEST(Shell_SettingsLeaks, OpenAndCancelFiftyTimesLeavesTheObjectCountsFlat) {
  SettingsVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  const auto cycle = [&](int times) {
    for (int i = 0; i < times; ++i) {
      const auto settings = vessa.open_settings(auto_texts());
      ASSERT_TRUE(settings.has_value()) << "opening " << i;
      click_control(*settings, control::kCancel);
      ASSERT_TRUE(vessa.settings_closed()) << "closing " << i;
    }
  };
  cycle(3);  // warm-up: every kind of object has been made once
  const ObjectCountBaseline baseline(vessa.process->handle());
  cycle(50);
  baseline.expect_flat();  // an object kept per window would add fifty or more
}

}  // namespace
}  // namespace vessa::test
