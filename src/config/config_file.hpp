#pragma once
// Loading and saving config.toml. Loading never fails: a file that cannot be parsed is kept
// beside itself as "<name>.broken" (then "<name>.broken.1", ...) and replaced with the defaults,
// one that cannot be read is left alone until the settings are saved, and a file that is not in
// canonical form is rewritten. Saving replaces the file in one step, so a crash or a full
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
  // The file exists but could not be read (locked, access denied): the defaults stand in for it,
  // and it must not be replaced unread.
  bool unread = false;
  std::optional<ConfigReset> reset;      // the file was replaced with the defaults
};

// Loads the configuration at `path`, a regular file, repairing and rewriting it as needed.
[[nodiscard]] LoadedConfig load_config(const std::filesystem::path& path);

// Writes the canonical text of `config` to `path`, creating its folder first.
[[nodiscard]] Status save_config(const Config& config, const std::filesystem::path& path);

// What saving accepted settings did.
struct AcceptedSave {
  Status written;                             // the file written, or why not
  std::optional<std::filesystem::path> kept;  // where the old file went first
  bool old_file_left = false;                 // an unread file could not be kept: nothing was written
};

// Writes `config` to `path` as save_config does. When the file there could not be read at
// start-up (`unread`), it is read again first and kept beside itself the way a broken file is,
// unless it already holds what the save writes; still unreadable, it is moved to that name. When
// it can be kept neither way, nothing is written.
[[nodiscard]] AcceptedSave save_accepted_config(const Config& config, const std::filesystem::path& path, bool unread);

// How many copies of broken files are kept beside the configuration.
inline constexpr std::size_t kKeptBrokenCopies = 5;

// Where the broken files' bytes are kept, oldest first: "config.toml" -> "config.toml.broken"
// (index 0), "config.toml.broken.1", ... up to index kKeptBrokenCopies - 1.
[[nodiscard]] std::filesystem::path broken_copy_path(const std::filesystem::path& path, std::size_t index = 0);

}  // namespace vessa
