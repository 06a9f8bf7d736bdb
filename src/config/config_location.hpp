#pragma once
// Which configuration file start-up uses: "config.toml" beside the executable wins over the
// per-user file; with neither present the defaults are written, beside the executable when
// that works, else to the per-user path.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/result.hpp"
#include "config/config.hpp"
#include "config/config_file.hpp"

namespace vessa {

struct ConfigCandidates {
  std::optional<std::filesystem::path> beside_executable;  // when the executable's folder is known
  Result<std::filesystem::path> per_user;                  // or why it cannot be determined
};

struct StartupConfig {
  Config config;
  std::filesystem::path path;            // where the configuration is saved
  std::vector<std::string> diagnostics;  // --debug lines of loading, in order
  bool unread = false;                   // the file exists but could not be read
  std::optional<ConfigReset> reset;      // the file was replaced with the defaults
};

// The configuration start-up runs with; an error only when no file exists and the defaults
// could not be written anywhere (the per-user path's error).
[[nodiscard]] Result<StartupConfig> open_startup_config(const ConfigCandidates& candidates);

}  // namespace vessa
