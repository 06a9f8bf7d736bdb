#include "config/config_location.hpp"

#include "base/file_io.hpp"
#include "config/config_file.hpp"

namespace vessa {
namespace {

StartupConfig loaded_from(const std::filesystem::path& path) {
  LoadedConfig loaded = load_config(path);
  return StartupConfig{std::move(loaded.config), path, std::move(loaded.diagnostics), loaded.unread,
                       std::move(loaded.reset)};
}

}  // namespace

Result<StartupConfig> open_startup_config(const ConfigCandidates& candidates) {
  const auto& beside = candidates.beside_executable;
  if (beside && vessa::is_regular_file(*beside)) return loaded_from(*beside);
  if (candidates.per_user && vessa::is_regular_file(*candidates.per_user)) return loaded_from(*candidates.per_user);

  StartupConfig defaults;
  if (beside && save_config(defaults.config, *beside).ok()) {
    defaults.path = *beside;
    return defaults;
  }
  if (!candidates.per_user) return candidates.per_user.error();
  const Status saved = save_config(defaults.config, *candidates.per_user);
  if (!saved) return saved.error();
  defaults.path = *candidates.per_user;
  return defaults;
}

}  // namespace vessa
