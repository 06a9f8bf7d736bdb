#include "config/config_location_win.hpp"

#include <windows.h>
#include <knownfolders.h>

#include <string>

#include "base/debug_output.hpp"
#include "base/executable_path_win.hpp"
#include "base/known_folder_win.hpp"

namespace vessa {

Result<std::filesystem::path> config_path() {
  Result<std::filesystem::path> folder = known_folder_path(FOLDERID_RoamingAppData, "設定ディレクトリを特定できません");
  if (!folder) return folder.error();
  return *folder / L"vessa" / L"config.toml";
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
