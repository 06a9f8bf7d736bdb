#pragma once
// Shell Link files (.lnk) as a test reads and writes them, through the shell's own object.

#include <filesystem>
#include <optional>
#include <string>

namespace vessa::test {

struct ShortcutFields {
  std::wstring target;  // IShellLinkW::GetPath, as stored
  std::wstring working_directory;
  std::wstring description;
};

// The shortcut at `path` as the shell loads it; none when it cannot be loaded.
std::optional<ShortcutFields> read_shortcut(const std::filesystem::path& path);

// Writes a shortcut at `path` to `target`, as some other program might; whether it was saved.
bool write_shortcut(const std::filesystem::path& path, const std::filesystem::path& target);

}  // namespace vessa::test
