#pragma once
// Start-up's choice of configuration file.

#include <filesystem>

#include "base/result.hpp"
#include "config/config.hpp"

namespace vessa {

struct StartupConfig {
  Config config;
  std::filesystem::path path;  // where the configuration is saved
};

// The configuration start-up runs with, and its path; an error only when no file exists and
// the defaults could not be written anywhere.
[[nodiscard]] Result<StartupConfig> load_startup_config();

}  // namespace vessa
