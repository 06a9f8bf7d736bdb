// The configuration code on Windows itself: saving through MoveFileExW, the numbers through the
// Windows runtime's parser, the paths Windows gives, and the registry's theme values.
#include <gtest/gtest.h>
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cmath>
#include <cstring>
#include <random>

#include "base/file_io.hpp"
#include "base/win_error_win.hpp"
#include "config/config_file.hpp"
#include "config/config_location_win.hpp"
#include "config/config_text.hpp"
#include "config/theme_win.hpp"
#include "harness_win.hpp"
#include "restore_guards_win.hpp"

namespace vessa::test {
namespace {

namespace fs = std::filesystem;

int temporary_files(const fs::path& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().wstring().starts_with(L"config.toml.tmp")) ++count;
  }
  return count;
}

Config with_interval(std::uint32_t interval) {
  Config config;
  config.general.update_interval_ms = interval;
  return config;
}

TEST(NoDisplay_ConfigSave, AKilledSaveLeavesTheOldFileWholeAndAFinishedOneTheNewFile) {
  TempFolder folder(L"vessa-config");
  const fs::path path = folder.path() / L"config.toml";
  ASSERT_TRUE(save_config(with_interval(1111), path).ok());
  const std::string old_text = read_bytes(path).value_or("");

  for (const std::size_t crash_at : {std::size_t{1}, std::size_t{200}, old_text.size() - 1}) {
    simulate_crash_after_bytes_for_testing(crash_at);
    const Status saved = save_config(with_interval(2222), path);
    simulate_crash_after_bytes_for_testing(0);
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().message(), "設定ファイルを書き込めません: " + utf8(path.wstring()));
    EXPECT_EQ(read_bytes(path), old_text) << crash_at;
  }
  ASSERT_TRUE(save_config(with_interval(2222), path).ok());
  EXPECT_EQ(read_bytes(path), *write_config_text(with_interval(2222)));
}

TEST(NoDisplay_ConfigSave, AFailedReplaceRemovesItsTemporaryFileAndNamesTheSystemError) {
  TempFolder folder(L"vessa-config");
  const fs::path path = folder.path() / L"config.toml";
  fs::create_directories(path / L"inside");  // a folder where the file should go
  const Status saved = save_config(Config{}, path);
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().message(), "設定ファイルを書き込めません: " + utf8(path.wstring()));
  ASSERT_NE(saved.error().cause(), nullptr);
  EXPECT_NE(saved.error().cause()->message().find("(0x8007"), std::string::npos) << saved.error().full_text();
  EXPECT_EQ(temporary_files(folder.path()), 0);
  EXPECT_TRUE(fs::is_directory(path / L"inside"));
}

// Editors, virus scanners and search indexers hold the file for a moment without letting anyone
// rename over it: the save waits for them to let go.
TEST(NoDisplay_ConfigSave, AFileHeldForAMomentByAnotherProgramIsStillReplaced) {
  TempFolder folder(L"vessa-config");
  const fs::path path = folder.path() / L"config.toml";
  ASSERT_TRUE(save_config(with_interval(1111), path).ok());
  const FileHolder holder(path, std::chrono::milliseconds(150));
  ASSERT_TRUE(holder.opened());
  const Status saved = save_config(with_interval(2222), path);
  ASSERT_TRUE(saved.ok()) << saved.error().full_text();
  EXPECT_EQ(read_bytes(path), *write_config_text(with_interval(2222)));
  EXPECT_EQ(temporary_files(folder.path()), 0);
}

// A rename over a file that another program holds fails with "access denied", as on Windows
// (a held source would give a sharing violation); the save reports the last try's error.
TEST(NoDisplay_ConfigSave, AFileHeldLongerKeepsItsOldBytesAndTheSaveNamesTheHold) {
  TempFolder folder(L"vessa-config");
  const fs::path path = folder.path() / L"config.toml";
  ASSERT_TRUE(save_config(with_interval(1111), path).ok());
  const std::string old_text = read_bytes(path).value_or("");
  const FileHolder holder(path, std::chrono::minutes(1));  // let go when the test ends
  ASSERT_TRUE(holder.opened());
  const Status saved = save_config(with_interval(2222), path);
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().message(), "設定ファイルを書き込めません: " + utf8(path.wstring()));
  ASSERT_NE(saved.error().cause(), nullptr);
  EXPECT_EQ(*saved.error().cause(), win32_error(ERROR_ACCESS_DENIED)) << saved.error().full_text();
  EXPECT_EQ(read_bytes(path), old_text);
  EXPECT_EQ(temporary_files(folder.path()), 0);
}

// A process that died while saving leaves its temporary file behind, and a later process with
// the same id counts its temporary names from the start again: taken names are passed over.
TEST(NoDisplay_ConfigSave, TemporaryNamesTakenByAnEarlierProcessArePassedOver) {
  TempFolder folder(L"vessa-config");
  const fs::path path = folder.path() / L"config.toml";
  simulate_crash_after_bytes_for_testing(1);
  ASSERT_FALSE(save_config(Config{}, path).ok());
  simulate_crash_after_bytes_for_testing(0);
  ASSERT_EQ(temporary_files(folder.path()), 1);
  // "config.toml.tmp-<pid>-<n>": the names with n + 1, n + 2 and n + 3 come next.
  const std::wstring leftover = fs::directory_iterator(folder.path())->path().filename().wstring();
  const std::size_t dash = leftover.rfind(L'-');
  const unsigned long last = std::stoul(leftover.substr(dash + 1));
  for (unsigned long next = last + 1; next <= last + 3; ++next) {
    write_bytes(folder.path() / (leftover.substr(0, dash + 1) + std::to_wstring(next)), "stale");
  }

  const Status saved = save_config(with_interval(2222), path);
  ASSERT_TRUE(saved.ok()) << saved.error().full_text();
  EXPECT_EQ(read_bytes(path), *write_config_text(with_interval(2222)));
  EXPECT_EQ(temporary_files(folder.path()), 4);
}

TEST(NoDisplay_ConfigSave, SavingCreatesMissingFoldersAndReplacesAnExistingFile) {
  TempFolder folder(L"vessa-config");
  const fs::path path = folder.path() / L"a" / L"b" / L"config.toml";
  ASSERT_TRUE(save_config(with_interval(1), path).ok());
  ASSERT_TRUE(save_config(with_interval(2), path).ok());
  EXPECT_EQ(read_bytes(path), *write_config_text(with_interval(2)));
  EXPECT_EQ(temporary_files(path.parent_path()), 0);
}

// The real program parses numbers with the Windows runtime, not the host's: every real and
// every font size must still come back bit for bit.
TEST(NoDisplay_ConfigText, RealsRoundTripThroughTheWindowsParser) {
  std::mt19937_64 random(77);
  for (int i = 0; i < 3000; ++i) {
    Config config;
    const std::uint64_t bits = random();
    std::memcpy(&config.metrics.disk_log_strength, &bits, sizeof(double));
    config.weather.latitude = std::uniform_real_distribution<double>(-90.0, 90.0)(random);
    const auto float_bits = static_cast<std::uint32_t>(random());
    std::memcpy(&config.appearance.tooltip_font_size_pt, &float_bits, sizeof(float));
    const Result<std::string> text = write_config_text(config);
    ASSERT_TRUE(text.ok());
    const ConfigReading back = read_config_text(*text);
    ASSERT_FALSE(back.rejection.has_value()) << *back.rejection;
    ASSERT_TRUE(same_config(back.config, config)) << *text;
    ASSERT_TRUE(back.canonical);
  }
}

TEST(NoDisplay_ConfigPaths, PerUserAndPortablePaths) {
  wchar_t* roaming = nullptr;
  ASSERT_TRUE(SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)));
  const fs::path expected = fs::path(roaming) / L"vessa" / L"config.toml";
  CoTaskMemFree(roaming);
  const Result<fs::path> per_user = config_path();
  ASSERT_TRUE(per_user.ok());
  EXPECT_EQ(per_user->wstring(), expected.wstring());
  EXPECT_FALSE(fs::exists(expected.parent_path()) && !fs::is_directory(expected.parent_path()));

  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const auto portable = portable_config_path();
  ASSERT_TRUE(portable.has_value());
  EXPECT_EQ(portable->wstring(), (fs::path(module).parent_path() / L"config.toml").wstring());
}

TEST(NoDisplay_Theme, TaskbarIsDarkUnlessSystemUsesLightThemeIsANonZeroDword) {
  RegistryValueGuard value(kPersonalizeKey, L"SystemUsesLightTheme");
  value.remove();
  EXPECT_TRUE(taskbar_is_dark());
  value.set_dword(1);
  EXPECT_FALSE(taskbar_is_dark());
  value.set_dword(0);
  EXPECT_TRUE(taskbar_is_dark());
  value.set_text(L"1");  // not a DWORD: the read fails
  EXPECT_TRUE(taskbar_is_dark());
}

TEST(NoDisplay_Theme, SettingsWindowIsLightUnlessAppsUseLightThemeIsZero) {
  RegistryValueGuard value(kPersonalizeKey, L"AppsUseLightTheme");
  value.remove();
  EXPECT_FALSE(settings_theme_is_dark());
  EXPECT_EQ(format_color(current_settings_palette().window_background), "#F3F3F3");
  value.set_dword(0);
  EXPECT_TRUE(settings_theme_is_dark());
  EXPECT_EQ(format_color(current_settings_palette().window_background), "#202020");
  value.set_dword(1);
  EXPECT_FALSE(settings_theme_is_dark());
}

TEST(NoDisplay_Theme, AccentColourFromTheRegistryOrTheFallback) {
  RegistryValueGuard value(L"Software\\Microsoft\\Windows\\DWM", L"AccentColor");
  value.remove();
  EXPECT_EQ(format_color(accent_color()), "#0078D4");
  value.set_dword(0xFF3322AAu);
  EXPECT_EQ(format_color(accent_color()), "#AA2233");
}

}  // namespace
}  // namespace vessa::test
