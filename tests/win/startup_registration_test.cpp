// Start with Windows against Wine's shell and registry: the shortcut in the Startup folder,
// the Run value it replaces and Windows' approval value, each put back after every case.
#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"
#include "debug_capture_win.hpp"
#include "restore_guards_win.hpp"
#include "shortcut_win.hpp"
#include "startup/startup_registration_win.hpp"

namespace vessa {
namespace {

namespace fs = std::filesystem;
using test::RegistryData;

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kApprovalKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

fs::path startup_folder() {
  UniqueCoTaskString folder;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, folder.put())) || !folder) return {};
  return folder.get();
}

fs::path this_executable() {
  wchar_t path[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

RegistryData approval(std::vector<std::uint8_t> bytes) { return {REG_BINARY, std::move(bytes)}; }
// What the Task Manager writes: a flag byte, then eight bytes of time.
const RegistryData kDisabled = approval({3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01});
const RegistryData kEnabled = approval({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
const RegistryData kOldRunValue = {REG_SZ, {'C', 0, ':', 0, '\\', 0, 'v', 0, '.', 0, 'e', 0, 'x', 0, 'e', 0, 0, 0}};

// Everything a registration touches, plus a neighbour in each key that must survive it.
struct Scene {
  fs::path shortcut_path = startup_folder() / L"VESSA.lnk";
  test::FileGuard shortcut{shortcut_path};
  test::RegistryValueGuard run{kRunKey, L"VESSA"};
  test::RegistryValueGuard run_neighbour{kRunKey, L"VessaTestNeighbour"};
  test::RegistryValueGuard approval{kApprovalKey, L"VESSA.lnk"};
  test::RegistryValueGuard approval_neighbour{kApprovalKey, L"VessaTestNeighbour.lnk"};

  Scene() {
    shortcut.remove();
    run.set(kOldRunValue);
    run_neighbour.set(kOldRunValue);
    approval.set(kDisabled);
    approval_neighbour.set(kDisabled);
  }
};

TEST(Shell_StartWithWindows, ShortcutPathIsVessaLnkInTheStartupFolder) {
  const fs::path folder = startup_folder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(startup_shortcut_path(), folder / L"VESSA.lnk");
}

TEST(Shell_StartWithWindows, ApplyingMakesTheShortcutMatchTheBoxAndRemovesTheRunValue) {
  enum class Before { nothing, shortcut_elsewhere };
  const struct {
    const char* name;
    Before before;
    std::vector<bool> calls;
    bool shortcut_after;
    std::optional<RegistryData> approval_after;
  } cases[] = {
      {"on", Before::nothing, {true}, true, std::nullopt},
      {"on twice", Before::nothing, {true, true}, true, std::nullopt},
      {"on over a shortcut to an old place", Before::shortcut_elsewhere, {true}, true, std::nullopt},
      {"off after on", Before::nothing, {true, false}, false, std::nullopt},
      {"off over a shortcut", Before::shortcut_elsewhere, {false}, false, kDisabled},
      {"off without a shortcut", Before::nothing, {false}, false, kDisabled},
  };
  const fs::path exe = this_executable();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scene scene;
    if (c.before == Before::shortcut_elsewhere) {
      ASSERT_TRUE(test::write_shortcut(scene.shortcut_path, L"C:\\windows\\notepad.exe"));
    }
    const test::DebugCapture debug;
    for (const bool enable : c.calls) set_start_with_windows(enable);

    EXPECT_EQ(debug.lines(), std::vector<std::string>{}) << "no step failed";
    const auto fields = test::read_shortcut(scene.shortcut_path);
    if (c.shortcut_after) {
      ASSERT_TRUE(fields.has_value()) << "no shortcut at " << narrow(scene.shortcut_path.native());
      EXPECT_EQ(narrow(fields->target), narrow(exe.native()));
      EXPECT_EQ(narrow(fields->working_directory), narrow(exe.parent_path().native()));
      EXPECT_EQ(narrow(fields->description), "VESSA");
    } else {
      EXPECT_FALSE(fs::exists(scene.shortcut_path));
    }
    EXPECT_EQ(scene.run.read(), std::nullopt);
    EXPECT_EQ(scene.approval.read(), c.approval_after);
    EXPECT_EQ(scene.run_neighbour.read(), kOldRunValue);
    EXPECT_EQ(scene.approval_neighbour.read(), kDisabled);
  }
}

TEST(Shell_StartWithWindows, StateIsTheShortcutUnlessWindowsDisabledIt) {
  const RegistryData too_long = approval({2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  const RegistryData dword = {REG_DWORD, {3, 0, 0, 0}};
  const struct {
    const char* name;
    bool shortcut;
    std::optional<RegistryData> approval;
    bool checked;
  } cases[] = {
      {"shortcut, approval first byte 3", true, kDisabled, false},
      {"shortcut, approval first byte 2", true, kEnabled, true},
      {"shortcut, no approval value", true, std::nullopt, true},
      {"shortcut, empty approval value", true, approval({}), true},
      {"shortcut, approval value of 13 bytes", true, too_long, true},
      {"shortcut, approval value not binary", true, dword, true},
      {"no shortcut, approval first byte 2", false, kEnabled, false},
      {"no shortcut, no approval value", false, std::nullopt, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scene scene;
    if (c.shortcut) {
      ASSERT_TRUE(test::write_shortcut(scene.shortcut_path, this_executable()));
    }
    if (c.approval) {
      scene.approval.set(*c.approval);
    } else {
      scene.approval.remove();
    }
    EXPECT_EQ(start_with_windows_state(), c.checked);
  }
}

// A folder named VESSA.lnk can be neither overwritten nor deleted as a file.
TEST(Shell_StartWithWindows, AFailedStepWritesOneDebugLineAndGoesNoFurther) {
  const struct {
    const char* name;
    bool enable;
    std::string line_start;
  } cases[] = {
      {"on", true, "スタートアップの登録に失敗: ショートカットを保存できません: "},
      {"off", false, "スタートアップの登録解除に失敗: ショートカットを削除できません: "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scene scene;
    ASSERT_TRUE(fs::create_directory(scene.shortcut_path));
    const test::DebugCapture debug;
    set_start_with_windows(c.enable);

    const std::vector<std::string> lines = debug.lines();
    ASSERT_EQ(lines.size(), 1u) << testing::PrintToString(lines);
    const std::string start = c.line_start + narrow(scene.shortcut_path.native()) + ": ";
    EXPECT_EQ(lines[0].substr(0, start.size()), start) << lines[0];
    EXPECT_GT(lines[0].size(), start.size()) << "the cause is named";
    EXPECT_TRUE(fs::is_directory(scene.shortcut_path));
    EXPECT_EQ(scene.run.read(), std::nullopt) << "the Run value goes first, whatever follows";
    EXPECT_EQ(scene.approval.read(), kDisabled) << "a disabled item stays disabled without a shortcut";
  }
}

}  // namespace
}  // namespace vessa
