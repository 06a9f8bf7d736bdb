#include "config/config_location_win.hpp"

namespace vessa {

Result<StartupConfig> load_startup_config() {
  // Reading and writing config.toml comes with the configuration file; until then the program
  // runs on the defaults.
  return StartupConfig{};
}

}  // namespace vessa
