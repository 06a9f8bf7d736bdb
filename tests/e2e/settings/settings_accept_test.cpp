// What OK and Cancel do to the running program and to config.toml: the language switched
// without a restart, the file written byte for byte or left alone, the collected values that
// depend on the real controls and the real taskbar, and the Startup-folder registration.
#include <gtest/gtest.h>
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "default_config_win.hpp"
#include "restore_guards_win.hpp"
#include "settings_support.hpp"
#include "shortcut_win.hpp"

namespace vessa::test {
namespace {

// Wine's taskbar is 20 pixels high: with 3 pixels of padding above and below, the bar area
// may be at most 14 high, and every accepted configuration is held to that.
constexpr std::pair<std::string_view, std::string_view> kBandHeldToWinesTaskbar{"band_height = 32",
                                                                                "band_height = 14"};

std::string file_or_nothing(const VessaFolder& folder) { return folder.read_config().value_or("(no file)"); }

// The tooltip shown for the tray icon: its size tells its language.
std::optional<SIZE> tray_tooltip_size(const SettingsVessa& vessa) {
  move_pointer(640, 790);
  post_tray_event(vessa.bar, NIN_POPUPOPEN, POINT{640, 790});
  const auto tooltip = vessa.tooltip();
  std::optional<SIZE> size;
  if (tooltip) {
    const RECT rect = describe_window(*tooltip).rect;
    size = SIZE{rect.right - rect.left, rect.bottom - rect.top};
  }
  post_tray_event(vessa.bar, NIN_POPUPCLOSE, POINT{640, 790});
  EXPECT_TRUE(vessa.no_tooltip());
  return size;
}

TEST(Shell_SettingsAccept, EnglishAcceptedSwitchesTheMenuAndTooltipAtOnceAndSavesTheFile) {
  const MenuPicture& english_menu = expected_tray_menu(ui_texts(UiLanguage::English));
  // Memory and network only: the tooltip rows are the same on every machine. The bars sit
  // at the left end, away from the tray icon.
  SettingsVessa vessa(
      "[general]\nlanguage = \"ja\"\n[layout]\nanchor = \"left\"\n[metrics]\nitems = [\"memory\", \"net\"]\n");
  ASSERT_NE(vessa.bar, nullptr);
  const SIZE english_tooltip = memory_and_network_tooltip_size();
  const auto japanese_tooltip = tray_tooltip_size(vessa);
  ASSERT_TRUE(japanese_tooltip.has_value());
  ASSERT_NE(japanese_tooltip->cx, english_tooltip.cx) << "the tooltip is not Japanese to begin with";

  const auto settings = vessa.open_settings(ui_texts(UiLanguage::Japanese));
  ASSERT_TRUE(settings.has_value());
  choose_item(*settings, control::kLanguage, 2);  // English
  click_control(*settings, control::kOk);
  ASSERT_TRUE(vessa.settings_closed());

  const std::string expected = with_lines(default_config_text(), {{"language = \"auto\"", "language = \"en\""},
                                                                  {"anchor = \"tray_left\"", "anchor = \"left\""},
                                                                  kBandHeldToWinesTaskbar,
                                                                  {"items = [\"cpu\", \"memory\", \"disk\", \"net\"]",
                                                                   "items = [\"memory\", \"net\"]"}});
  EXPECT_TRUE(wait_until([&] { return vessa.folder.read_config() == expected; }, 5s)) << file_or_nothing(vessa.folder);

  move_pointer(kFirstTrayIconCentre.x, kFirstTrayIconCentre.y);
  post_tray_event(vessa.bar, WM_CONTEXTMENU, kFirstTrayIconCentre);
  const auto menu = wait_for_menu(vessa.pid());
  ASSERT_TRUE(menu.has_value());
  const MenuPicture real_menu = rested_picture_of(*menu);
  EXPECT_EQ(differing_pixels_above(real_menu, english_menu, kMenuSeparator), 0u) << "the menu is not the English one";
  if (differing_pixels_above(real_menu, english_menu, kMenuSeparator) != 0) {
    save_picture(real_menu, "settings-menu-real");
    save_picture(english_menu, "settings-menu-expected");
  }
  PostMessageW(vessa.bar, WM_CANCELMODE, 0, 0);
  ASSERT_TRUE(wait_for_no_menu(vessa.pid()));

  const auto tooltip = tray_tooltip_size(vessa);
  ASSERT_TRUE(tooltip.has_value());
  EXPECT_EQ(tooltip->cx, english_tooltip.cx);
  EXPECT_EQ(tooltip->cy, english_tooltip.cy);
  EXPECT_TRUE(vessa.process->running());
}

// Many controls changed, then the window dismissed three ways: only OK reaches the file.
struct DismissCase {
  const char* name;
  int button;  // 0: the close box
  bool saved;
  friend void PrintTo(const DismissCase& c, std::ostream* out) { *out << c.name; }
};

class Shell_SettingsDismiss : public ::testing::TestWithParam<DismissCase> {};

TEST_P(Shell_SettingsDismiss, ChangedControlsReachTheFileOnlyThroughOk) {
  const DismissCase& c = GetParam();
  SettingsVessa vessa(default_config_text());
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());

  click_control(*settings, control::kFirstItem);  // processor off
  type_text(*settings, control::kFullScale, L"50");
  type_text(*settings, control::kInterval, L"500");
  click_control(*settings, control::kDiskLamp);
  click_control(*settings, control::kDisplays);
  show_page(*settings, 1);
  choose_item(*settings, control::kLanguage, 2);  // English
  type_text(*settings, control::kBarWidth, L"20");
  type_text(*settings, control::kBandHeight, L"10");
  click_control(*settings, control::kShowTrack);
  choose_item(*settings, control::kScheme, 1);  // preset family
  choose_item(*settings, control::kTemperatureUnit, 1);
  type_text(*settings, control::kPlaceName, L"Tokyo");

  if (c.button != 0) {
    click_control(*settings, c.button);
  } else {
    PostMessageW(*settings, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
  ASSERT_TRUE(vessa.settings_closed());

  if (c.saved) {
    const std::string expected = with_lines(
        default_config_text(),
        {{"update_interval_ms = 2000", "update_interval_ms = 500"},
         {"language = \"auto\"", "language = \"en\""},
         {"displays = \"primary\"", "displays = \"all\""},
         {"line_length = 64", "line_length = 20"},
         {"band_height = 32", "band_height = 10"},
         {"show_track = true", "show_track = false"},
         {"color_scheme = \"standard\"", "color_scheme = \"family\""},
         {"items = [\"cpu\", \"memory\", \"disk\", \"net\"]", "items = [\"memory\", \"disk\", \"net\"]"},
         {"network_scale_mbps = 100.0", "network_scale_mbps = 50.0"},
         {"disk_lamp = true", "disk_lamp = false"},
         {"place_name = \"\"", "place_name = \"Tokyo\""},
         {"temperature_unit = \"celsius\"", "temperature_unit = \"fahrenheit\""}});
    EXPECT_TRUE(wait_until([&] { return vessa.folder.read_config() == expected; }, 5s))
        << file_or_nothing(vessa.folder);
  } else {
    Sleep(1000);  // an apply would have saved by now
    EXPECT_EQ(vessa.folder.read_config(), std::optional<std::string>(default_config_text()));
  }
  EXPECT_TRUE(vessa.process->running());
}

INSTANTIATE_TEST_SUITE_P(Shell_Ways, Shell_SettingsDismiss,
                         ::testing::Values(DismissCase{"Cancel", control::kCancel, false},
                                           DismissCase{"CloseBox", 0, false}, DismissCase{"Ok", control::kOk, true}),
                         CaseName());

// The taskbar's theme is read again whenever the window resolves colours: a switch from dark
// to light while it is open reaches the preview at once, and the grey family's swatches that
// "custom" then starts from.
TEST(Shell_SettingsAccept, ATaskbarThemeSwitchWhileOpenReachesThePreviewAndTheSavedColours) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.set(DWORD{0});
  const std::string mono = with_lines(default_config_text(), {{"color_scheme = \"standard\"", "color_scheme = \"family\""},
                                                              {"color_family = \"blue\"", "color_family = \"mono\""}});
  SettingsVessa vessa(mono);
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  HWND preview = control_of(*settings, control::kPreview);
  EXPECT_GT(pixels_of(preview, 0x202020), 0u) << "not the dark taskbar's preview to begin with";

  theme.set(DWORD{1});
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutW(*settings, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                                SMTO_ABORTIFHUNG, 5000, &ignored),
            0);
  // The light taskbar's backdrop, and the processor bar in the light grey family's darkest grey.
  const auto light = [&] { return pixels_of(preview, 0xF3F3F3) > 0 && pixels_of(preview, 0x1A1A1A) > 0; };
  EXPECT_TRUE(wait_until(light, 3s)) << "the preview still shows the dark taskbar";
  if (!light()) save_picture(preview, "settings-preview-theme-failed");

  show_page(*settings, 1);
  choose_item(*settings, control::kScheme, 2);  // custom
  click_control(*settings, control::kOk);
  ASSERT_TRUE(vessa.settings_closed());
  const std::string expected = with_lines(mono, {{"color_scheme = \"family\"", "color_scheme = \"custom\""},
                                                 kBandHeldToWinesTaskbar,
                                                 {"cpu_color = \"#47A8D8\"", "cpu_color = \"#1A1A1A\""},
                                                 {"memory_color = \"#3B5FB0\"", "memory_color = \"#363636\""},
                                                 {"disk_color = \"#93C13D\"", "disk_color = \"#535353\""},
                                                 {"net_rx_color = \"#D6538A\"", "net_rx_color = \"#707070\""},
                                                 {"net_tx_color = \"#8F385C\"", "net_tx_color = \"#4B4B4B\""},
                                                 {"net_overlap_color = \"#EFA6C6\"", "net_overlap_color = \"#B8B8B8\""},
                                                 {"gpu_color = \"#A05FC0\"", "gpu_color = \"#8C8C8C\""}});
  EXPECT_TRUE(wait_until([&] { return vessa.folder.read_config() == expected; }, 5s)) << file_or_nothing(vessa.folder);
}

// Values typed key by key, whose rule needs the real edit boxes and the real taskbar (the
// rules themselves are the host tests').
struct CollectCase {
  const char* name;
  int edit;
  const wchar_t* typed;
  std::string_view default_line;
  std::string_view saved_line;
  friend void PrintTo(const CollectCase& c, std::ostream* out) { *out << c.name; }
};

class Shell_SettingsCollect : public ::testing::TestWithParam<CollectCase> {};

TEST_P(Shell_SettingsCollect, TypedValuesAreSavedWithinTheirLimits) {
  const CollectCase& c = GetParam();
  SettingsVessa vessa(default_config_text());
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  type_keys(*settings, c.edit, c.typed);
  click_control(*settings, control::kOk);
  ASSERT_TRUE(vessa.settings_closed());
  const std::string expected = with_lines(default_config_text(), {kBandHeldToWinesTaskbar, {c.default_line, c.saved_line}});
  EXPECT_TRUE(wait_until([&] { return vessa.folder.read_config() == expected; }, 5s)) << file_or_nothing(vessa.folder);
}

INSTANTIATE_TEST_SUITE_P(
    Shell_Limits, Shell_SettingsCollect,
    ::testing::Values(CollectCase{"BarWidth3", control::kBarWidth, L"3", "line_length = 64", "line_length = 8"},
                      CollectCase{"Interval50", control::kInterval, L"50", "update_interval_ms = 2000",
                                  "update_interval_ms = 100"},
                      CollectCase{"BandHeightAboveTheTaskbar", control::kBandHeight, L"500", "band_height = 14",
                                  "band_height = 14"},
                      // Only the search reads a name's first 63 units; the field keeps it whole.
                      CollectCase{"PlaceNameLongerThanASearch", control::kPlaceName,
                                  L"Llanfairpwllgwyngyllgogerychwyrndrobwllllantysiliogogogoch, Anglesey, Wales",
                                  "place_name = \"\"",
                                  "place_name = \"Llanfairpwllgwyngyllgogerychwyrndrobwllllantysiliogogogoch, "
                                  "Anglesey, Wales\""}),
    CaseName());

// The box after a failed save, closed: its lead text in the program's language, the file, and
// then the system's reason.
void expect_save_failure_box(const SettingsVessa& vessa, TextId lead) {
  const auto box = wait_for_message_box(vessa.pid(), 10s);
  ASSERT_TRUE(box.has_value()) << vessa.report();
  const std::string text = utf8(message_box_text(*box));
  press_ok(*box);
  const std::string named = std::string(auto_texts().text(lead)) + "\n\n" + utf8(vessa.folder.config().wstring()) + "\n\n";
  EXPECT_TRUE(text.starts_with(named) && text.size() > named.size()) << text;
}

// A save that fails after OK (another program holds the file) is told at once; the file keeps
// its bytes, the new settings stay in effect, and Exit still ends the program with 0.
TEST(Shell_SettingsAccept, ASaveThatFailsIsShownAtOnceAndTheFileKeepsItsBytes) {
  SettingsVessa vessa(default_config_text());
  ASSERT_NE(vessa.bar, nullptr);
  const FileHolder holder(vessa.folder.config(), 2min);
  ASSERT_TRUE(holder.opened());
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  type_keys(*settings, control::kInterval, L"3000");
  click_control(*settings, control::kOk);
  ASSERT_TRUE(vessa.settings_closed());

  expect_save_failure_box(vessa, TextId::SaveFailed);
  EXPECT_EQ(vessa.folder.read_config(), std::optional<std::string>(default_config_text()));
  ASSERT_TRUE(vessa.choose_from_menu(auto_texts(), kExitItem));
  EXPECT_EQ(vessa.process->wait(5s), std::optional<DWORD>(0)) << vessa.report();
}

// A reader that holds the file for a moment as it is replaced (a virus scanner, an indexer),
// even one that lets others delete it, is waited out: the save is not lost.
TEST(Shell_SettingsAccept, AFileReadForAMomentAsItIsReplacedIsStillSaved) {
  SettingsVessa vessa(default_config_text());
  ASSERT_NE(vessa.bar, nullptr);
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  type_keys(*settings, control::kInterval, L"3000");
  const FileHolder reader(vessa.folder.config(), 400ms, FileHolder::Sharing::Everything);
  ASSERT_TRUE(reader.opened());
  click_control(*settings, control::kOk);
  ASSERT_TRUE(vessa.settings_closed());
  const std::string expected =
      with_lines(default_config_text(), {kBandHeldToWinesTaskbar, {"update_interval_ms = 2000", "update_interval_ms = 3000"}});
  EXPECT_TRUE(wait_until([&] { return vessa.folder.read_config() == expected; }, 5s)) << file_or_nothing(vessa.folder);
  EXPECT_FALSE(wait_for_message_box(vessa.pid(), 0ms).has_value()) << "the save was reported as failed";
}

// A file locked when the program started was never read: the next OK does not replace it
// unread. Let go by then, it is kept beside itself before the window's settings are written;
// still locked, nothing is written and the user is told.
struct LockedCase {
  const char* name;
  bool let_go_before_ok;
  friend void PrintTo(const LockedCase& c, std::ostream* out) { *out << c.name; }
};

class Shell_SettingsLockedAtStart : public ::testing::TestWithParam<LockedCase> {};

TEST_P(Shell_SettingsLockedAtStart, TheNextOkNeverReplacesTheUnreadFile) {
  const LockedCase& c = GetParam();
  const VessaFolder folder;
  const std::string users = with_lines(default_config_text(), {{"update_interval_ms = 2000", "update_interval_ms = 1000"}});
  folder.write_config(users);
  std::optional<FileHolder> lock(std::in_place, folder.config(), 2min, FileHolder::Sharing::Nothing);
  ASSERT_TRUE(lock->opened());
  SettingsVessa vessa(folder);
  ASSERT_NE(vessa.bar, nullptr);
  if (c.let_go_before_ok) lock.reset();
  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  click_control(*settings, control::kOk);
  ASSERT_TRUE(vessa.settings_closed());

  const std::filesystem::path copy = folder.path() / L"config.toml.broken";
  if (c.let_go_before_ok) {
    EXPECT_TRUE(wait_until([&] { return read_bytes(copy) == users; }, 5s)) << vessa.report();
    const std::string window = with_lines(default_config_text(), {kBandHeldToWinesTaskbar});
    EXPECT_TRUE(wait_until([&] { return folder.read_config() == window; }, 5s)) << file_or_nothing(folder);
  } else {
    expect_save_failure_box(vessa, TextId::UnreadFileNotOverwritten);
    lock.reset();
    EXPECT_EQ(folder.read_config(), std::optional<std::string>(users));
    EXPECT_FALSE(std::filesystem::exists(copy));
  }
  EXPECT_TRUE(vessa.closes_with_zero());
}

INSTANTIATE_TEST_SUITE_P(Shell_Locks, Shell_SettingsLockedAtStart,
                         ::testing::Values(LockedCase{"LetGoBeforeOk", true}, LockedCase{"StillLockedAtOk", false}),
                         CaseName());

// Start with Windows: the shortcut in the Startup folder, the old Run value and Windows'
// approval value, before and after the window.
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovalKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

std::filesystem::path startup_shortcut() {
  wchar_t* folder = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder);
  std::filesystem::path path = SUCCEEDED(hr) ? std::filesystem::path(folder) / L"VESSA.lnk" : std::filesystem::path();
  CoTaskMemFree(folder);
  return path;
}

struct StartupCase {
  const char* name;
  bool shortcut_before;
  std::uint8_t approval_first_byte;  // 0: no approval value
  bool box_shown;
  int action;  // check box clicked before OK, 0 for OK as shown, or Cancel
  bool shortcut_after;
  bool approval_kept;
  bool run_value_kept;
  friend void PrintTo(const StartupCase& c, std::ostream* out) { *out << c.name; }
};

class Shell_SettingsStartWithWindows : public ::testing::TestWithParam<StartupCase> {};

TEST_P(Shell_SettingsStartWithWindows, TheBoxShowsAndSetsTheStartupShortcut) {
  const StartupCase& c = GetParam();
  SettingsVessa vessa;
  ASSERT_NE(vessa.bar, nullptr);
  const std::filesystem::path shortcut_path = startup_shortcut();
  ASSERT_FALSE(shortcut_path.empty());
  RegistryValueGuard run(kRunKey, L"VESSA");
  RegistryValueGuard approval(kApprovalKey, L"VESSA.lnk");
  FileGuard shortcut(shortcut_path);
  run.set_text(L"\"C:\\old\\vessa.exe\"");
  const std::vector<std::uint8_t> approval_bytes = {c.approval_first_byte, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  if (c.approval_first_byte != 0) {
    approval.set_binary(approval_bytes);
  } else {
    approval.remove();
  }
  shortcut.remove();
  if (c.shortcut_before) {
    ASSERT_TRUE(write_shortcut(shortcut_path, vessa.folder.exe()));
  }

  const auto settings = vessa.open_settings(auto_texts());
  ASSERT_TRUE(settings.has_value());
  EXPECT_EQ(is_checked(*settings, control::kStartWithWindows), c.box_shown);
  if (c.action == control::kStartWithWindows) click_control(*settings, control::kStartWithWindows);
  click_control(*settings, c.action == control::kCancel ? control::kCancel : control::kOk);
  ASSERT_TRUE(vessa.settings_closed());
  Sleep(500);  // the registration is made before the window goes; the save follows it

  const auto written = read_shortcut(shortcut_path);
  EXPECT_EQ(written.has_value(), c.shortcut_after);
  if (written && c.action != control::kCancel) {  // the program's own shortcut
    EXPECT_EQ(lstrcmpiW(written->target.c_str(), vessa.folder.exe().c_str()), 0) << utf8(written->target);
    EXPECT_EQ(lstrcmpiW(written->working_directory.c_str(), vessa.folder.path().c_str()), 0)
        << utf8(written->working_directory);
  }
  EXPECT_EQ(approval.read().has_value(), c.approval_kept);
  EXPECT_EQ(run.read().has_value(), c.run_value_kept);
}

INSTANTIATE_TEST_SUITE_P(
    Shell_Registration, Shell_SettingsStartWithWindows,
    ::testing::Values(
        // A user who had disabled the item in Windows and now asks for it again.
        StartupCase{"CheckedCreatesTheShortcutAndClearsBothValues", false, 3, false, control::kStartWithWindows, true,
                    false, false},
        StartupCase{"UncheckedDeletesTheShortcutAndKeepsTheApproval", true, 2, true, control::kStartWithWindows,
                    false, true, false},
        StartupCase{"ApprovalWithOddFirstByteShowsUnchecked", true, 3, false, control::kCancel, true, true, true},
        StartupCase{"ShortcutWithoutApprovalShowsChecked", true, 0, true, control::kCancel, true, false, true}),
    CaseName());

}  // namespace
}  // namespace vessa::test
