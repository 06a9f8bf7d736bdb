// config.toml as the real vessa.exe finds, repairs and writes it, and what its settings do to
// the bar window at start-up.
#include <gtest/gtest.h>
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <string>

#include "default_config_win.hpp"
#include "harness_win.hpp"

namespace vessa::test {
namespace {

namespace fs = std::filesystem;

// The canonical text of the default configuration, byte for byte (the host tests check the
// writer against the same file).
const std::string& default_text() { return default_config_text(); }

// The default text with one line replaced.
std::string defaults_with(std::string_view old_line, std::string_view new_line) {
  std::string text = default_text();
  const std::size_t at = text.find(std::string(old_line) + "\n");
  EXPECT_NE(at, std::string::npos) << old_line;
  if (at != std::string::npos) text.replace(at, old_line.size(), new_line);
  return text;
}

fs::path roaming_folder() {
  wchar_t* folder = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder);
  fs::path path = SUCCEEDED(hr) ? fs::path(folder) : fs::path();
  CoTaskMemFree(folder);
  return path;
}

// The per-user folder (%APPDATA%\vessa of the test prefix) for one test: whatever was there is
// put aside and comes back afterwards.
class PerUserFolder {
 public:
  PerUserFolder() : folder_(roaming_folder() / L"vessa"), saved_(roaming_folder() / L"vessa.saved-by-test") {
    EXPECT_FALSE(roaming_folder().empty());
    remove_everything(saved_);
    std::error_code ignored;
    if (fs::exists(folder_, ignored)) fs::rename(folder_, saved_);
  }
  ~PerUserFolder() {
    remove_everything(folder_);
    std::error_code ignored;
    if (fs::exists(saved_, ignored)) fs::rename(saved_, folder_, ignored);
  }
  PerUserFolder(const PerUserFolder&) = delete;
  PerUserFolder& operator=(const PerUserFolder&) = delete;

  [[nodiscard]] const fs::path& folder() const { return folder_; }
  [[nodiscard]] fs::path config() const { return folder_ / L"config.toml"; }

 private:
  fs::path folder_;
  fs::path saved_;
};

// Makes writing config.toml beside the executable fail: a folder of that name, with a file in
// it, stands where the file would go. (Wine ignores the read-only attribute of folders and the
// tests run as the superuser, so a folder cannot simply be made read-only.)
void block_config_beside(const VessaFolder& folder) {
  fs::create_directories(folder.config());
  write_bytes(folder.config() / L"keep", "x");
}

std::string config_line(const fs::path& path) { return "config: " + utf8(path.wstring()); }

// Starts vessa.exe, waits for its bar window and the "config: " line, then closes it.
struct Outcome {
  std::vector<std::string> lines;
  std::optional<DWORD> exit_code;
};

Outcome run_until_bar_window(const VessaFolder& folder, const std::wstring& arguments) {
  RunningVessa vessa(folder, arguments);
  EXPECT_NE(vessa.bar, nullptr) << "no bar window";
  if (arguments.find(L"--debug") != std::wstring::npos) {
    EXPECT_TRUE(vessa.process->wait_for_line("config: ").has_value()) << vessa.report();
  }
  Outcome run;
  run.exit_code = vessa.close();
  // The configuration's lines only: the bars' relayout lines follow them, sooner or later.
  for (std::string& line : vessa.process->output_lines()) {
    if (line.rfind("relayout ", 0) != 0) run.lines.push_back(std::move(line));
  }
  return run;
}

TEST(Shell_ConfigFile, WithNoFileTheDefaultsAreWrittenBesideTheExecutableInCanonicalForm) {
  PerUserFolder per_user;
  VessaFolder folder;
  const Outcome run = run_until_bar_window(folder, L"--debug");
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(0));
  EXPECT_EQ(run.lines, std::vector<std::string>{config_line(folder.config())});
  EXPECT_EQ(folder.read_config(), std::optional<std::string>(default_text()));
  EXPECT_FALSE(fs::exists(per_user.folder()));
}

TEST(Shell_ConfigFile, TheFileBesideTheExecutableWinsOverThePerUserFile) {
  PerUserFolder per_user;
  fs::create_directories(per_user.folder());
  const std::string per_user_text = defaults_with("update_interval_ms = 2000", "update_interval_ms = 3000");
  write_bytes(per_user.config(), per_user_text);
  VessaFolder folder;
  const std::string beside_text = defaults_with("update_interval_ms = 2000", "update_interval_ms = 1000");
  folder.write_config(beside_text);

  const Outcome run = run_until_bar_window(folder, L"--debug");
  EXPECT_EQ(run.lines, std::vector<std::string>{config_line(folder.config())});
  EXPECT_EQ(folder.read_config(), std::optional<std::string>(beside_text));
  EXPECT_EQ(read_bytes(per_user.config()), std::optional<std::string>(per_user_text));
}

TEST(Shell_ConfigFile, AnUnwritableExecutableFolderSendsTheDefaultsToThePerUserPath) {
  PerUserFolder per_user;
  VessaFolder folder;
  block_config_beside(folder);

  const Outcome run = run_until_bar_window(folder, L"--debug");
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(0));
  EXPECT_EQ(run.lines, std::vector<std::string>{config_line(per_user.config())});
  EXPECT_EQ(read_bytes(per_user.config()), std::optional<std::string>(default_text()));

  // The next start finds the per-user file and leaves it as it is.
  const Outcome again = run_until_bar_window(folder, L"--debug");
  EXPECT_EQ(again.lines, std::vector<std::string>{config_line(per_user.config())});
}

TEST(Shell_ConfigFile, ABrokenFileIsKeptAsBrokenAndReplacedWithTheDefaults) {
  PerUserFolder per_user;
  VessaFolder folder;
  const std::string broken = "[general]\nupdate_interval_ms = 500\n[appearance]\nbackground_alpha = 256\n";
  folder.write_config(broken);

  const Outcome run = run_until_bar_window(folder, L"--debug");
  fs::path kept = folder.config();
  kept += L".broken";
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{
                "設定ファイルが壊れています。作り直します: appearance.background_alpha: 256 does not fit an unsigned "
                "8-bit integer",
                "壊れた設定ファイルを保存しました: " + utf8(kept.wstring()), config_line(folder.config())}));
  EXPECT_EQ(folder.read_config(), std::optional<std::string>(default_text()));
  EXPECT_EQ(read_bytes(kept), std::optional<std::string>(broken));

  // Broken again: the first copy (the settings before any repair) stays, the new one goes beside it.
  const std::string broken_again = "[general\n";
  folder.write_config(broken_again);
  const Outcome again = run_until_bar_window(folder, L"--debug");
  fs::path kept_again = kept;
  kept_again += L".1";
  ASSERT_EQ(again.lines.size(), 3u);
  EXPECT_EQ(again.lines[1], "壊れた設定ファイルを保存しました: " + utf8(kept_again.wstring()));
  EXPECT_EQ(read_bytes(kept), std::optional<std::string>(broken));
  EXPECT_EQ(read_bytes(kept_again), std::optional<std::string>(broken_again));
}

TEST(Shell_ConfigFile, AFileThatIsNotUtf8IsKeptAndReplaced) {
  PerUserFolder per_user;
  VessaFolder folder;
  const std::string broken = "[weather]\nplace_name = \"\x93\x8C\x8B\x9E\"\n";  // Shift_JIS, not UTF-8
  folder.write_config(broken);

  const Outcome run = run_until_bar_window(folder, L"--debug");
  fs::path kept = folder.config();
  kept += L".broken";
  EXPECT_EQ(run.lines, (std::vector<std::string>{"設定ファイルを読めません: " + utf8(folder.config().wstring()),
                                                  "壊れた設定ファイルを保存しました: " + utf8(kept.wstring()),
                                                  config_line(folder.config())}));
  EXPECT_EQ(folder.read_config(), std::optional<std::string>(default_text()));
  EXPECT_EQ(read_bytes(kept), std::optional<std::string>(broken));
}

TEST(Shell_ConfigFile, AnUnknownKeyIsReportedWithDebugAndTheFileRewrittenWithoutIt) {
  PerUserFolder per_user;
  VessaFolder folder;
  const std::string expected = defaults_with("language = \"auto\"", "language = \"en\"");
  std::string with_unknown = expected;
  const std::string_view displays = "displays = \"primary\"\n";
  with_unknown.insert(with_unknown.find(displays) + displays.size(), "verbose = true\n");
  folder.write_config(with_unknown);

  const Outcome run = run_until_bar_window(folder, L"--debug");
  EXPECT_EQ(run.lines, (std::vector<std::string>{"設定の項目を無視しました: general.verbose", config_line(folder.config())}));
  EXPECT_EQ(folder.read_config(), std::optional<std::string>(expected));
}

TEST(Shell_ConfigFile, WithoutDebugNothingIsWrittenButTheFileIsStillRewritten) {
  PerUserFolder per_user;
  VessaFolder folder;
  folder.write_config("unknown = 1\n");
  const Outcome run = run_until_bar_window(folder, L"");
  EXPECT_EQ(run.exit_code, std::optional<DWORD>(0));
  EXPECT_TRUE(run.lines.empty());
  EXPECT_EQ(folder.read_config(), std::optional<std::string>(default_text()));
}

TEST(Shell_ConfigFile, ACommentOnlyDifferenceIsRewrittenWithoutAnyReport) {
  PerUserFolder per_user;
  VessaFolder folder;
  folder.write_config("# written by hand\n" + default_text() + "\n# the end\n");
  const Outcome run = run_until_bar_window(folder, L"--debug");
  EXPECT_EQ(run.lines, std::vector<std::string>{config_line(folder.config())});
  EXPECT_EQ(folder.read_config(), std::optional<std::string>(default_text()));
}

TEST(Shell_ConfigFile, ChildModeMakesTheBarAChildWindowOfTheTaskbar) {
  PerUserFolder per_user;
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  ASSERT_NE(taskbar, nullptr);

  RunningVessa vessa("[behavior]\nattach_mode = \"child\"\n");
  ASSERT_NE(vessa.bar, nullptr);
  const WindowInfo info = describe_window(vessa.bar);
  EXPECT_EQ(info.parent, taskbar);
  EXPECT_EQ(GetParent(vessa.bar), taskbar);
  EXPECT_NE(info.style & WS_CHILD, 0u);
  EXPECT_EQ(info.style & WS_POPUP, 0u);
  EXPECT_NE(info.ex_style & WS_EX_LAYERED, 0u);
  EXPECT_FALSE(wait_for_message_box(vessa.pid(), 300ms).has_value());
  EXPECT_TRUE(vessa.closes_with_zero());
  EXPECT_EQ(vessa.folder.read_config(),
            std::optional<std::string>(defaults_with("attach_mode = \"overlay\"", "attach_mode = \"child\"")));
}

TEST(Shell_ConfigFile, TrayOnlyModeGivesAMessageOnlyWindowAndNoWarning) {
  PerUserFolder per_user;
  RunningVessa vessa(defaults_with("attach_mode = \"overlay\"", "attach_mode = \"tray_only\""));
  ASSERT_NE(vessa.bar, nullptr);
  const WindowInfo info = describe_window(vessa.bar);
  EXPECT_TRUE(info.message_only);
  EXPECT_FALSE(info.visible);
  EXPECT_EQ(info.ex_style & WS_EX_LAYERED, 0u);
  EXPECT_FALSE(wait_for_message_box(vessa.pid(), 500ms).has_value()) << "tray_only asked for is no fallback";
  EXPECT_TRUE(vessa.closes_with_zero());
}

// Both places unwritable: the file beside the executable is blocked by a folder, and a file
// stands where the per-user folder would be created.
TEST(NoDisplay_ConfigFile, WhenNeitherPlaceCanBeWrittenStartUpEndsWithTheFatalReport) {
  PerUserFolder per_user;
  write_bytes(per_user.folder(), "a file where the folder should be");
  VessaFolder folder;
  block_config_beside(folder);

  VessaProcess vessa(folder.exe(), L"");
  const auto box = wait_for_message_box(vessa.pid());
  ASSERT_TRUE(box.has_value()) << "no fatal report";
  EXPECT_EQ(window_text(*box), L"VESSA");
  const std::string expected_start = "設定ディレクトリを作成できません: " + utf8(per_user.folder().wstring()) + ": ";
  const std::string text = utf8(message_box_text(*box));
  EXPECT_EQ(text.rfind(expected_start, 0), 0u) << text;
  // The cause is the system's error for a file standing in the way: ERROR_ALREADY_EXISTS.
  EXPECT_NE(text.find("(0x800700B7)"), std::string::npos) << text;
  EXPECT_TRUE(find_windows(vessa.pid(), L"VessaMonitorWindow").empty());
  press_ok(*box);

  EXPECT_EQ(vessa.wait(), std::optional<DWORD>(1));
  const std::string error_output = vessa.error_output();
  EXPECT_EQ(error_output.rfind("Error: Error { message: \"設定ディレクトリを作成できません: ", 0), 0u) << error_output;
  EXPECT_NE(error_output.find("cause: Some(Error { message: \""), std::string::npos) << error_output;
  EXPECT_NE(error_output.find("(0x800700B7)\", cause: None }) }\n"), std::string::npos) << error_output;
  EXPECT_EQ(fs::is_regular_file(per_user.folder()), true);
  EXPECT_TRUE(fs::is_directory(folder.config()));
}

}  // namespace
}  // namespace vessa::test
