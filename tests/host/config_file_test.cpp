// Loading, repairing and saving config.toml on a real file system, and start-up's choice
// between the file beside the executable and the per-user file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/file_io.hpp"
#include "config/config_file.hpp"
#include "config/config_location.hpp"
#include "config/config_text.hpp"

namespace vessa {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    path_ = fs::temp_directory_path() / ("vessa-config-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  [[nodiscard]] const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

void write_bytes(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
}

std::string read_bytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string canonical(const Config& config) { return *write_config_text(config); }

std::string default_text() { return canonical(Config{}); }

// Files whose names start with "config.toml.tmp": what an interrupted save leaves behind.
int leftover_temporary_files(const fs::path& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with("config.toml.tmp")) ++count;
  }
  return count;
}

using Lines = std::vector<std::string>;

TEST(LoadConfig, ACanonicalFileIsLeftUntouched) {
  TempFolder folder;
  const fs::path path = folder.path() / "config.toml";
  Config config;
  config.general.update_interval_ms = 750;
  write_bytes(path, canonical(config));
  const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24);
  fs::last_write_time(path, old_time);

  const LoadedConfig loaded = load_config(path);
  EXPECT_EQ(loaded.config, config);
  EXPECT_TRUE(loaded.diagnostics.empty());
  EXPECT_EQ(fs::last_write_time(path), old_time) << "a canonical file must not be written";
}

TEST(LoadConfig, ACommentOnlyDifferenceIsRewrittenWithoutAnyReport) {
  TempFolder folder;
  const fs::path path = folder.path() / "config.toml";
  write_bytes(path, "# my own notes\n" + default_text());

  const LoadedConfig loaded = load_config(path);
  EXPECT_EQ(loaded.config, Config{});
  EXPECT_EQ(loaded.diagnostics, Lines{});
  EXPECT_EQ(read_bytes(path), default_text());
  EXPECT_FALSE(fs::exists(broken_copy_path(path)));
}

TEST(LoadConfig, UnknownKeysAreReportedAndDroppedWhileKnownValuesStay) {
  TempFolder folder;
  const fs::path path = folder.path() / "config.toml";
  write_bytes(path,
              "theme = \"dark\"\n"
              "[general]\nupdate_interval_ms = 500\nspeed = 3\n"
              "[extras]\na = 1\nb = 2\n");

  const LoadedConfig loaded = load_config(path);
  EXPECT_EQ(loaded.diagnostics, (Lines{"設定の項目を無視しました: extras", "設定の項目を無視しました: general.speed",
                                       "設定の項目を無視しました: theme"}));
  Config expected;
  expected.general.update_interval_ms = 500;
  EXPECT_EQ(loaded.config, expected);
  EXPECT_EQ(read_bytes(path), canonical(expected));
}

TEST(LoadConfig, DiagnosticsStayOnOneLine) {
  TempFolder folder;
  const fs::path path = folder.path() / "config.toml";
  write_bytes(path, "\"two\\nlines\" = 1\n");
  EXPECT_EQ(load_config(path).diagnostics, Lines{"設定の項目を無視しました: two\\nlines"});

  write_bytes(path, "[general]\nlanguage = \"a\\tb\"\n");
  EXPECT_EQ(load_config(path).diagnostics.at(0),
            "設定ファイルが壊れています。作り直します: general.language: unknown value \"a\\tb\", expected one of "
            "\"auto\", \"ja\", \"en\"");
}

// Each repair keeps its own copy, so the first one (the settings the user had before any
// repair) survives the next; past the bound the oldest copy goes and the others move down.
TEST(LoadConfig, EachBrokenFileIsKeptBesideItselfAndReplacedWithTheDefaults) {
  TempFolder folder;
  const fs::path path = folder.path() / "config.toml";
  const auto broken = [](std::size_t repair) {
    return "[general]\nupdate_interval_ms = " + std::to_string(500 + repair) + "\n[appearance]\nbackground = \"#GG0000\"\n";
  };
  EXPECT_EQ(broken_copy_path(path).filename(), "config.toml.broken");
  EXPECT_EQ(broken_copy_path(path, 1).filename(), "config.toml.broken.1");
  ASSERT_EQ(kKeptBrokenCopies, 5u);

  for (std::size_t repair = 0; repair < kKeptBrokenCopies + 2; ++repair) {
    write_bytes(path, broken(repair));
    const LoadedConfig loaded = load_config(path);
    const std::size_t newest = std::min(repair, kKeptBrokenCopies - 1);
    const std::size_t dropped = repair - newest;  // copies that went, oldest first
    EXPECT_EQ(loaded.config, Config{});
    EXPECT_EQ(loaded.diagnostics,
              (Lines{"設定ファイルが壊れています。作り直します: appearance.background: 色の解析に失敗しました: #GG0000",
                     "壊れた設定ファイルを保存しました: " + broken_copy_path(path, newest).string()}))
        << repair;
    EXPECT_EQ(read_bytes(path), default_text());
    for (std::size_t index = 0; index <= newest; ++index) {
      EXPECT_EQ(read_bytes(broken_copy_path(path, index)), broken(dropped + index)) << repair << " " << index;
    }
    EXPECT_FALSE(fs::exists(broken_copy_path(path, newest + 1))) << repair;
  }
  EXPECT_EQ(leftover_temporary_files(folder.path()), 0);
}

TEST(LoadConfig, EveryRejectedFileIsReplacedAsAWhole) {
  const struct {
    std::string bytes;
    std::string first_line;
  } cases[] = {
      {"[general]\nlanguage = \"fr\"\n",
       "設定ファイルが壊れています。作り直します: general.language: unknown value \"fr\", expected one of \"auto\", "
       "\"ja\", \"en\""},
      {"[appearance]\nbackground_alpha = 256\n",
       "設定ファイルが壊れています。作り直します: appearance.background_alpha: 256 does not fit an unsigned 8-bit "
       "integer"},
      {"[general]\nupdate_interval_ms = -1\n",
       "設定ファイルが壊れています。作り直します: general.update_interval_ms: -1 does not fit an unsigned 32-bit "
       "integer"},
      {"[general]\nupdate_interval_ms = true\n",
       "設定ファイルが壊れています。作り直します: general.update_interval_ms: expected an unsigned 32-bit integer, "
       "found a boolean"},
      {"[general\n", "設定ファイルが壊れています。作り直します: "},
      {"[weather]\nplace_name = \"\xE6\x9D\xB1\xFF\"\n", "設定ファイルを読めません: "},  // not UTF-8
      {"\xC0\x80", "設定ファイルを読めません: "},                                       // overlong NUL
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const fs::path path = folder.path() / "config.toml";
    write_bytes(path, c.bytes);
    const LoadedConfig loaded = load_config(path);
    EXPECT_EQ(loaded.config, Config{});
    ASSERT_EQ(loaded.diagnostics.size(), 2u) << c.bytes;
    if (c.first_line == "設定ファイルを読めません: ") {
      EXPECT_EQ(loaded.diagnostics[0], c.first_line + path.string());
    } else if (c.bytes.starts_with("[general\n")) {
      EXPECT_EQ(loaded.diagnostics[0], c.first_line + "Error while parsing table header: expected ']', saw '\\n' "
                                                       "(line 1, column 9)");
    } else {
      EXPECT_EQ(loaded.diagnostics[0], c.first_line);
    }
    EXPECT_EQ(loaded.diagnostics[1], "壊れた設定ファイルを保存しました: " + path.string() + ".broken");
    EXPECT_EQ(read_bytes(path), default_text());
    EXPECT_EQ(read_bytes(broken_copy_path(path)), c.bytes);
  }
}

TEST(LoadConfig, ABrokenFileWhoseCopyCannotBeKeptIsNotOverwritten) {
  TempFolder folder;
  const fs::path path = folder.path() / "config.toml";
  const std::string broken = "[general\n";
  write_bytes(path, broken);
  // A folder in the way of the copy.
  fs::create_directories(broken_copy_path(path) / "inside");

  const LoadedConfig loaded = load_config(path);
  EXPECT_EQ(loaded.config, Config{});
  ASSERT_EQ(loaded.diagnostics.size(), 2u);
  EXPECT_TRUE(loaded.diagnostics[0].starts_with("設定ファイルが壊れています。作り直します: "));
  EXPECT_TRUE(loaded.diagnostics[1].starts_with("設定ファイルを書き戻せません: 壊れた設定ファイルを保存できません: " +
                                                broken_copy_path(path).string() + ": "))
      << loaded.diagnostics[1];
  EXPECT_EQ(read_bytes(path), broken);
  EXPECT_EQ(leftover_temporary_files(folder.path()), 0);
}

TEST(LoadConfig, AFileThatCannotBeReadIsLeftAlone) {
  TempFolder folder;
  // Reading a folder fails after it was opened.
  const fs::path path = folder.path() / "config.toml";
  fs::create_directories(path);

  const LoadedConfig loaded = load_config(path);
  EXPECT_EQ(loaded.config, Config{});
  ASSERT_EQ(loaded.diagnostics.size(), 2u);
  EXPECT_EQ(loaded.diagnostics[0], "設定ファイルを読めません: " + path.string());
  EXPECT_TRUE(loaded.diagnostics[1].starts_with("設定ファイルを書き戻せません: 壊れた設定ファイルを保存できません: " +
                                                broken_copy_path(path).string() + ": "))
      << loaded.diagnostics[1];
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_FALSE(fs::exists(broken_copy_path(path)));
}

TEST(SaveConfig, CreatesTheMissingFoldersAndWritesTheCanonicalText) {
  TempFolder folder;
  const fs::path path = folder.path() / "roaming" / "vessa" / "config.toml";
  Config config;
  config.weather.place_name = "東京";
  ASSERT_TRUE(save_config(config, path).ok());
  EXPECT_EQ(read_bytes(path), canonical(config));
  EXPECT_EQ(leftover_temporary_files(path.parent_path()), 0);
}

TEST(SaveConfig, ErrorMessagesAndTheirCauses) {
  TempFolder folder;
  write_bytes(folder.path() / "a-file", "x");

  const fs::path under_a_file = folder.path() / "a-file" / "vessa" / "config.toml";
  const Status no_folder = save_config(Config{}, under_a_file);
  ASSERT_FALSE(no_folder.ok());
  EXPECT_EQ(no_folder.error().message(), "設定ディレクトリを作成できません: " + under_a_file.parent_path().string());
  ASSERT_NE(no_folder.error().cause(), nullptr);
  EXPECT_FALSE(no_folder.error().cause()->message().empty());

  const fs::path target = folder.path() / "config.toml";
  write_bytes(target, "old");
  Config unwritable;
  unwritable.metrics.disk_lamp_hold_ms = ~std::uint64_t{0};
  const Status no_text = save_config(unwritable, target);
  ASSERT_FALSE(no_text.ok());
  EXPECT_EQ(no_text.error().full_text(),
            "設定のシリアライズに失敗しました: metrics.disk_lamp_hold_ms: 18446744073709551615 is larger than a TOML "
            "integer can be");
  EXPECT_EQ(read_bytes(target), "old");

  const fs::path folder_in_the_way = folder.path() / "taken";
  fs::create_directories(folder_in_the_way / "inside");
  const Status no_file = save_config(Config{}, folder_in_the_way);
  ASSERT_FALSE(no_file.ok());
  EXPECT_EQ(no_file.error().message(), "設定ファイルを書き込めません: " + folder_in_the_way.string());
  ASSERT_NE(no_file.error().cause(), nullptr);
  EXPECT_TRUE(fs::is_directory(folder_in_the_way / "inside"));
}

// A process that died while saving leaves its temporary file behind, and a later process with
// the same id counts its temporary names from the start again: names that are taken are passed
// over, and the leftovers stay (they are not this save's to remove).
TEST(SaveConfig, TemporaryNamesTakenByAnEarlierProcessArePassedOver) {
  TempFolder folder;
  const fs::path path = folder.path() / "config.toml";
  simulate_crash_after_bytes_for_testing(1);
  ASSERT_FALSE(save_config(Config{}, path).ok());
  simulate_crash_after_bytes_for_testing(0);
  ASSERT_EQ(leftover_temporary_files(folder.path()), 1);
  // "config.toml.tmp-<pid>-<n>": the names with n + 1, n + 2 and n + 3 come next.
  const std::string leftover = fs::directory_iterator(folder.path())->path().filename().string();
  const std::size_t dash = leftover.rfind('-');
  const unsigned long last = std::stoul(leftover.substr(dash + 1));
  for (unsigned long next = last + 1; next <= last + 3; ++next) {
    write_bytes(folder.path() / (leftover.substr(0, dash + 1) + std::to_string(next)), "stale");
  }

  Config config;
  config.general.update_interval_ms = 2222;
  const Status saved = save_config(config, path);
  ASSERT_TRUE(saved.ok()) << saved.error().full_text();
  EXPECT_EQ(read_bytes(path), canonical(config));
  EXPECT_EQ(leftover_temporary_files(folder.path()), 4);
}

// A save that dies half-way leaves the old file whole: the new text goes to a temporary file
// that replaces the old one only once it is complete.
TEST(SaveConfig, AKilledSaveLeavesTheOldFileOrTheNewOneNeverAPartialFile) {
  TempFolder folder;
  const fs::path path = folder.path() / "config.toml";
  Config old_config;
  old_config.general.update_interval_ms = 1111;
  ASSERT_TRUE(save_config(old_config, path).ok());
  const std::string old_text = read_bytes(path);

  Config new_config;
  new_config.general.update_interval_ms = 2222;
  for (const std::size_t crash_at : {std::size_t{1}, std::size_t{100}, default_text().size() - 1}) {
    simulate_crash_after_bytes_for_testing(crash_at);
    const Status saved = save_config(new_config, path);
    simulate_crash_after_bytes_for_testing(0);
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().message(), "設定ファイルを書き込めません: " + path.string());
    EXPECT_EQ(read_bytes(path), old_text) << crash_at;
  }
  ASSERT_TRUE(save_config(new_config, path).ok());
  EXPECT_EQ(read_bytes(path), canonical(new_config));

  // With no file before, a killed save leaves no file at all.
  const fs::path fresh = folder.path() / "fresh" / "config.toml";
  simulate_crash_after_bytes_for_testing(10);
  EXPECT_FALSE(save_config(new_config, fresh).ok());
  simulate_crash_after_bytes_for_testing(0);
  EXPECT_FALSE(fs::exists(fresh));
}

// --- start-up's choice of file -----------------------------------------------------------

struct Candidates {
  TempFolder exe_folder;
  TempFolder roaming;
  fs::path beside() const { return exe_folder.path() / "config.toml"; }
  fs::path per_user() const { return roaming.path() / "vessa" / "config.toml"; }
  ConfigCandidates both() const { return ConfigCandidates{beside(), per_user()}; }
};

Config config_with_interval(std::uint32_t interval) {
  Config config;
  config.general.update_interval_ms = interval;
  return config;
}

TEST(StartupConfig, TheFileBesideTheExecutableWinsOverThePerUserFile) {
  Candidates c;
  ASSERT_TRUE(save_config(config_with_interval(111), c.beside()).ok());
  ASSERT_TRUE(save_config(config_with_interval(222), c.per_user()).ok());
  const Result<StartupConfig> startup = open_startup_config(c.both());
  ASSERT_TRUE(startup.ok());
  EXPECT_EQ(startup->path, c.beside());
  EXPECT_EQ(startup->config.general.update_interval_ms, 111u);
}

TEST(StartupConfig, ThePerUserFileIsUsedWhenNoneIsBesideTheExecutable) {
  Candidates c;
  ASSERT_TRUE(save_config(config_with_interval(222), c.per_user()).ok());
  fs::create_directories(c.beside());  // a folder of that name is not a configuration file
  const Result<StartupConfig> startup = open_startup_config(c.both());
  ASSERT_TRUE(startup.ok());
  EXPECT_EQ(startup->path, c.per_user());
  EXPECT_EQ(startup->config.general.update_interval_ms, 222u);
}

TEST(StartupConfig, LoadingDiagnosticsComeAlong) {
  Candidates c;
  write_bytes(c.beside(), "x = 1\n");
  const Result<StartupConfig> startup = open_startup_config(c.both());
  ASSERT_TRUE(startup.ok());
  EXPECT_EQ(startup->diagnostics, Lines{"設定の項目を無視しました: x"});
  EXPECT_EQ(read_bytes(c.beside()), default_text());
}

TEST(StartupConfig, WithNoFileTheDefaultsAreWrittenBesideTheExecutable) {
  Candidates c;
  const Result<StartupConfig> startup = open_startup_config(c.both());
  ASSERT_TRUE(startup.ok());
  EXPECT_EQ(startup->path, c.beside());
  EXPECT_EQ(startup->config, Config{});
  EXPECT_TRUE(startup->diagnostics.empty());
  EXPECT_EQ(read_bytes(c.beside()), default_text());
  EXPECT_FALSE(fs::exists(c.per_user().parent_path()));
}

TEST(StartupConfig, WhenTheExecutableFolderIsNotWritableTheDefaultsGoToThePerUserPath) {
  Candidates c;
  write_bytes(c.exe_folder.path() / "not-a-folder", "x");
  const fs::path unwritable = c.exe_folder.path() / "not-a-folder" / "config.toml";
  for (const auto& beside : {std::optional<fs::path>(unwritable), std::optional<fs::path>()}) {
    std::error_code ignored;
    fs::remove_all(c.per_user().parent_path(), ignored);
    const Result<StartupConfig> startup = open_startup_config(ConfigCandidates{beside, c.per_user()});
    ASSERT_TRUE(startup.ok());
    EXPECT_EQ(startup->path, c.per_user());
    EXPECT_EQ(read_bytes(c.per_user()), default_text());
  }
}

TEST(StartupConfig, WhenBothWritesFailThePerUserErrorEndsStartUp) {
  Candidates c;
  write_bytes(c.exe_folder.path() / "not-a-folder", "x");
  write_bytes(c.roaming.path() / "vessa", "a file where the folder should be");
  const fs::path unwritable = c.exe_folder.path() / "not-a-folder" / "config.toml";
  const Result<StartupConfig> startup = open_startup_config(ConfigCandidates{unwritable, c.per_user()});
  ASSERT_FALSE(startup.ok());
  EXPECT_EQ(startup.error().message(), "設定ディレクトリを作成できません: " + (c.roaming.path() / "vessa").string());

  const Result<StartupConfig> unknown_folder =
      open_startup_config(ConfigCandidates{unwritable, Error("設定ディレクトリを特定できません")});
  ASSERT_FALSE(unknown_folder.ok());
  EXPECT_EQ(unknown_folder.error().full_text(), "設定ディレクトリを特定できません");

  // An undeterminable per-user folder does not matter while the executable's folder works.
  const Result<StartupConfig> portable =
      open_startup_config(ConfigCandidates{c.beside(), Error("設定ディレクトリを特定できません")});
  ASSERT_TRUE(portable.ok());
  EXPECT_EQ(portable->path, c.beside());
}

}  // namespace
}  // namespace vessa
