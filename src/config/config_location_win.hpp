#pragma once
// Start-up's choice of configuration file, with the paths Windows gives.

#include <filesystem>
#include <optional>

#include "base/result.hpp"
#include "config/config_location.hpp"

namespace vessa {

// The per-user path: the roaming application-data folder, then "vessa\config.toml". The
// folder is not created here.
[[nodiscard]] Result<std::filesystem::path> config_path();

// "config.toml" in the folder of the running executable, when that folder can be determined.
[[nodiscard]] std::optional<std::filesystem::path> portable_config_path();

// The configuration start-up runs with, and its path; writes the loading diagnostics. An
// error only when no file exists and the defaults could not be written anywhere.
[[nodiscard]] Result<StartupConfig> load_startup_config();

}  // namespace vessa
