// The context menu of the real program: opened from the tray icon or the bars, its items and
// check mark, and its commands Show and Exit.
#include <gtest/gtest.h>

#include "app/startup_rules.hpp"
#include "settings/ui_text.hpp"
#include "fake_taskbar_win.hpp"
#include "tray_support.hpp"

namespace vessa::test {
namespace {

// Index of each command's item in the menu (the separator sits before Exit).
constexpr std::size_t kShowItem = 0;
constexpr std::size_t kSeparator = 3;
constexpr std::size_t kExitItem = 4;

// Wine loses about one right click on a tray icon in six; left clicks open the same menu.
std::optional<HWND> open_menu_from_tray(DWORD pid) {
  for (int attempt = 0; attempt < 6; ++attempt) {
    click(kFirstTrayIconCentre.x, kFirstTrayIconCentre.y, attempt % 2 == 1);
    if (const auto menu = wait_for_menu(pid, 2s)) return menu;
  }
  return std::nullopt;
}

// vessa.exe with its icon in the notification area: the icon's cell shows something besides
// the taskbar (the default bars may cover part of it).
struct MenuVessa : RunningVessa {
  explicit MenuVessa(const std::string& config = {}) : RunningVessa(config) {
    wait_until([] { return !color_rows(capture_screen(), kFirstTrayCell, 0xF0F0F0).empty(); }, 10s);
  }
};

void save_pictures(const char* name, const MenuPicture& real) {
  ScreenShot shot;
  shot.width = real.rect.right - real.rect.left;
  shot.height = real.rect.bottom - real.rect.top;
  shot.pixels = real.pixels;
  if (shot.width > 0 && shot.height > 0) shot.save_bmp(artefact_folder() / (std::string(name) + ".bmp"));
}

TEST(Shell_ContextMenu, TrayIconClickOpensTheMenuWithShowCheckedAndExitEndsTheProgram) {
  // The expected menus first, while no icon of ours (and no tip of the shell's) is there.
  const MenuPicture checked = reference_menu(menu_texts(auto_texts()), true, kFirstTrayIconCentre);
  const MenuPicture unchecked = reference_menu(menu_texts(auto_texts()), false, kFirstTrayIconCentre);
  MenuVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_EQ(checked.items.size(), 5u);
  ASSERT_GT(differing_pixels_above(checked, unchecked, kSeparator), 0u) << "the check mark does not show";

  const auto menu = open_menu_from_tray(vessa.pid());
  ASSERT_TRUE(menu.has_value()) << "no menu after clicks on the tray icon";
  const MenuPicture real = rested_picture_of(*menu);
  EXPECT_EQ(differing_pixels_above(real, checked, kSeparator), 0u);
  if (differing_pixels_above(real, checked, kSeparator) != 0) save_pictures("menu_tray_real", real);

  const POINT exit = checked.item_centre(kExitItem);
  click(exit.x, exit.y);
  EXPECT_EQ(vessa.process->wait(), std::optional<DWORD>(0));
  EXPECT_TRUE(tray_cell_free_of(0xF0F0F0)) << "the tray icon stayed";
}

TEST(Shell_ContextMenu, ShowHidesAndShowsTheBarsAndTheCheckMarkFollows) {
  const MenuPicture checked = reference_menu(menu_texts(auto_texts()), true, kFirstTrayIconCentre);
  const MenuPicture unchecked = reference_menu(menu_texts(auto_texts()), false, kFirstTrayIconCentre);
  MenuVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(IsWindowVisible(vessa.bar));
  ASSERT_EQ(checked.items.size(), 5u);

  ASSERT_TRUE(open_menu_from_tray(vessa.pid()).has_value());
  const POINT show = checked.item_centre(kShowItem);
  click(show.x, show.y);
  EXPECT_TRUE(wait_until([&] { return !IsWindowVisible(vessa.bar); }, 5s)) << "Show did not hide the bars";

  const auto hidden_menu = open_menu_from_tray(vessa.pid());
  ASSERT_TRUE(hidden_menu.has_value());
  const MenuPicture hidden_picture = rested_picture_of(*hidden_menu);
  EXPECT_EQ(differing_pixels_above(hidden_picture, unchecked, kSeparator), 0u) << "Show still checked while hidden";

  click(show.x, show.y);
  EXPECT_TRUE(wait_until([&] { return IsWindowVisible(vessa.bar) != FALSE; }, 5s)) << "Show did not bring them back";

  const auto shown_menu = open_menu_from_tray(vessa.pid());
  ASSERT_TRUE(shown_menu.has_value());
  EXPECT_EQ(differing_pixels_above(rested_picture_of(*shown_menu), checked, kSeparator), 0u);
  const POINT exit = checked.item_centre(kExitItem);
  click(exit.x, exit.y);
  EXPECT_EQ(vessa.process->wait(), std::optional<DWORD>(0));
}

TEST(Shell_ContextMenu, AClickElsewhereClosesTheMenuAndRunsNothing) {
  MenuVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(open_menu_from_tray(vessa.pid()).has_value());
  click(400, 300);
  EXPECT_TRUE(wait_for_no_menu(vessa.pid()));
  EXPECT_TRUE(vessa.process->running());
  EXPECT_TRUE(IsWindowVisible(vessa.bar));
  EXPECT_TRUE(vessa.closes_with_zero());
}

// A right click on the tray icon may bring WM_RBUTTONUP and WM_CONTEXTMENU both (version 4
// notifications): the menu opens once.
TEST(Shell_ContextMenu, ARightClickOnTheTrayIconOpensTheMenuOnce) {
  RunningVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  move_pointer(kFirstTrayIconCentre.x, kFirstTrayIconCentre.y);
  for (const UINT event : {UINT{WM_RBUTTONDOWN}, UINT{WM_RBUTTONUP}, UINT{WM_CONTEXTMENU}}) {
    post_tray_event(vessa.bar, event, kFirstTrayIconCentre);
  }
  const auto menu = wait_for_menu(vessa.pid());
  ASSERT_TRUE(menu.has_value()) << "no menu after the right click";
  press_key(VK_ESCAPE);
  ASSERT_TRUE(wait_for_no_menu(vessa.pid())) << "Escape did not close the menu";
  EXPECT_FALSE(wait_for_menu(vessa.pid(), 1s).has_value()) << "a second menu opened for the same click";
  press_key(VK_ESCAPE);  // closes a second menu, if there was one
  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
}

// A shell restart while the menu is open replaces the bar window (child mode): the command
// chosen afterwards acts on the new window.
TEST(Plain_ContextMenu, ExitChosenAfterAShellRestartDuringTheMenuEndsTheProgram) {
  constexpr RECT kTaskbar{0, 760, 1280, 800};
  constexpr POINT kAt{600, 500};
  const MenuPicture reference = reference_menu(menu_texts(auto_texts()), true, kAt);
  ASSERT_EQ(reference.items.size(), 5u);
  auto taskbar = std::make_unique<FakeTaskbar>(kTaskbar);
  RunningVessa vessa("[behavior]\nattach_mode = \"child\"\n");
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_EQ(describe_window(vessa.bar).parent, taskbar->window());
  move_pointer(kAt.x, kAt.y);
  post_tray_event(vessa.bar, WM_CONTEXTMENU, kAt);
  const auto menu = wait_for_menu(vessa.pid());
  ASSERT_TRUE(menu.has_value());

  taskbar.reset();  // the shell goes down, and the bar window with it
  taskbar = std::make_unique<FakeTaskbar>(kTaskbar);
  wait_until([] { return false; }, 500ms);  // Wine settles a new window's z-order a moment after showing it
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(wait_until([&] {
    const auto bar = wait_for_bar_window(vessa.pid(), 100ms);
    return bar && GetAncestor(*bar, GA_PARENT) == taskbar->window();
  })) << "the bar window did not join the new taskbar";
  ASSERT_TRUE(visible_menu(vessa.pid()).has_value()) << "the menu closed with the shell";

  RECT real{};
  GetWindowRect(*menu, &real);
  const RECT& item = reference.items.at(kExitItem);
  click(real.left + (item.left + item.right) / 2, real.top + (item.top + item.bottom) / 2);
  EXPECT_EQ(vessa.process->wait(), std::optional<DWORD>(0)) << "Exit did not end the program";
}

// In tray-only mode the bar window is message-only: the tray menu is the only way in, and it
// must open and close like the others.
TEST(Shell_ContextMenu, InTrayOnlyModeTheMenuOpensAndAClickElsewhereClosesIt) {
  MenuVessa vessa("[behavior]\nattach_mode = \"tray_only\"\n");
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(describe_window(vessa.bar).message_only);
  ASSERT_TRUE(open_menu_from_tray(vessa.pid()).has_value());
  click(400, 300);
  EXPECT_TRUE(wait_for_no_menu(vessa.pid()));
  EXPECT_TRUE(vessa.process->running());
}

// With `language` set in config.toml the menu speaks that language, whatever the system's.
struct LanguageCase {
  const char* config;
  UiLanguage language;
};

class Shell_ContextMenuLanguage : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(Shell_ContextMenuLanguage, MenuTextsFollowTheConfiguredLanguage) {
  const LanguageCase& c = GetParam();
  const MenuPicture expected = reference_menu(menu_texts(ui_texts(c.language)), true, kFirstTrayIconCentre);
  const UiLanguage other = c.language == UiLanguage::English ? UiLanguage::Japanese : UiLanguage::English;
  const MenuPicture wrong = reference_menu(menu_texts(ui_texts(other)), true, kFirstTrayIconCentre);
  ASSERT_EQ(expected.items.size(), 5u);
  ASSERT_GT(differing_pixels(expected, wrong), 0u) << "the two languages' menus look alike";

  MenuVessa vessa(c.config);
  ASSERT_NE(vessa.bar, nullptr);
  const auto menu = open_menu_from_tray(vessa.pid());
  ASSERT_TRUE(menu.has_value());
  const MenuPicture real = rested_picture_of(*menu);
  EXPECT_EQ(differing_pixels_above(real, expected, kSeparator), 0u);
  if (differing_pixels_above(real, expected, kSeparator) != 0) save_pictures("menu_language_real", real);
  const POINT exit = expected.item_centre(kExitItem);
  click(exit.x, exit.y);
  EXPECT_EQ(vessa.process->wait(), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(Shell_Languages, Shell_ContextMenuLanguage,
                         ::testing::Values(LanguageCase{"[general]\nlanguage = \"ja\"\n", UiLanguage::Japanese},
                                           LanguageCase{"[general]\nlanguage = \"en\"\n", UiLanguage::English}));

// The bars' own right-click menu is the same menu, and its Exit works the same.
TEST(Shell_ContextMenu, TheBarsMenuIsTheSameMenuAndItsExitEndsTheProgram) {
  const MenuPicture checked = reference_menu(menu_texts(auto_texts()), true, POINT{600, 500});
  MenuVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_EQ(checked.items.size(), 5u);
  move_pointer(600, 500);
  PostMessageW(vessa.bar, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(vessa.bar), MAKELPARAM(600, 500));
  const auto menu = wait_for_menu(vessa.pid());
  ASSERT_TRUE(menu.has_value());
  EXPECT_EQ(differing_pixels(rested_picture_of(*menu), checked), 0u);
  const POINT exit = checked.item_centre(kExitItem);
  click(exit.x, exit.y);
  EXPECT_EQ(vessa.process->wait(), std::optional<DWORD>(0));
  EXPECT_TRUE(tray_cell_free_of(0xF0F0F0));
}

}  // namespace
}  // namespace vessa::test
