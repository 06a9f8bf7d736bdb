#include "config/config_location_win.hpp"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "base/debug_output.hpp"
#include "base/executable_path_win.hpp"
#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"
#include "base/win_error_win.hpp"

namespace vessa {

Result<std::filesystem::path> config_path() {
  constexpr char kMessage[] = "設定ディレクトリを特定できません";
  UniqueCoTaskString folder;  // the caller's to free even when the call fails
  const HRESULT hr = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, folder.put());
  if (FAILED(hr)) return Error(kMessage, hresult_error(hr));
  const std::wstring text = folder ? std::wstring(folder.get()) : std::wstring();
  if (text.empty() || !narrow_strict(text)) return Error(kMessage);
  return std::filesystem::path(text) / L"vessa" / L"config.toml";
}

std::optional<std::filesystem::path> portable_config_path() {
  const Result<std::filesystem::path> exe = executable_path();
  if (!exe) return std::nullopt;
  const std::filesystem::path folder = exe->parent_path();
  if (folder.empty()) return std::nullopt;
  return folder / L"config.toml";
}

Result<StartupConfig> load_startup_config() {
  Result<StartupConfig> startup = open_startup_config(ConfigCandidates{portable_config_path(), config_path()});
  if (startup) {
    for (const std::string& line : startup->diagnostics) debug::line(line);
  }
  return startup;
}

}  // namespace vessa
