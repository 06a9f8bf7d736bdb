#pragma once
// Loading and saving config.toml. Loading never fails: a file that cannot be read or parsed is
// kept beside itself as "<name>.broken" (then "<name>.broken.1", ...) and replaced with the defaults, and a file that is not
// in canonical form is rewritten. Saving replaces the file in one step, so a crash or a full
// disk leaves the old file or the new one, never a partial file.
//
// The portable code returns its --debug diagnostics as values; the caller writes them.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/result.hpp"
#include "config/config.hpp"

namespace vessa {

// A file replaced with the defaults: why, and where its bytes were kept.
struct ConfigReset {
  std::optional<std::string> error;  // the reader's first error; none when the file is not UTF-8 text
  std::filesystem::path kept_copy;

  friend bool operator==(const ConfigReset&, const ConfigReset&) = default;
};

struct LoadedConfig {
  Config config;
  std::vector<std::string> diagnostics;  // one --debug line each, in order
  std::optional<ConfigReset> reset;      // the file was replaced with the defaults
};

// Loads the configuration at `path`, a regular file, repairing and rewriting it as needed.
[[nodiscard]] LoadedConfig load_config(const std::filesystem::path& path);

// Writes the canonical text of `config` to `path`, creating its folder first.
[[nodiscard]] Status save_config(const Config& config, const std::filesystem::path& path);

// How many copies of broken files are kept beside the configuration.
inline constexpr std::size_t kKeptBrokenCopies = 5;

// Where the broken files' bytes are kept, oldest first: "config.toml" -> "config.toml.broken"
// (index 0), "config.toml.broken.1", ... up to index kKeptBrokenCopies - 1.
[[nodiscard]] std::filesystem::path broken_copy_path(const std::filesystem::path& path, std::size_t index = 0);

}  // namespace vessa
