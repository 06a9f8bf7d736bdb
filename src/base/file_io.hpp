#pragma once
// Whole-file reads and crash-safe whole-file writes. Errors carry the system's text for the
// failing call; callers put their own message in front.

#include <filesystem>
#include <string>
#include <string_view>

#include "base/result.hpp"

namespace vessa {

[[nodiscard]] bool is_regular_file(const std::filesystem::path& path);

// On Windows an open that another program blocks for a moment is tried again for less than half
// a second, as a replace is below.
[[nodiscard]] Result<std::string> read_file_bytes(const std::filesystem::path& path);

// Creates `folder` and its missing ancestors.
[[nodiscard]] Status create_folders(const std::filesystem::path& folder);

// Writes `bytes` to a temporary file in the same folder, flushes it to the disk and then
// replaces `path` with it in one step, so that a crash or a full disk leaves either the old
// file or the new one, never a partial file. The temporary file is removed on failure. On
// Windows a replace that another program blocks by holding `path` open for a moment is tried
// again for less than half a second before it fails with the last try's error.
[[nodiscard]] Status write_file_atomically(const std::filesystem::path& path, std::string_view bytes);

// Renames `from` to `to`, replacing a file there; both in one folder. Used to keep a file
// aside that cannot be read, so it needs no right to read it.
[[nodiscard]] Status move_file(const std::filesystem::path& from, const std::filesystem::path& to);

// Test seam: when set, write_file_atomically stops right after writing this many bytes of the
// temporary file, as if the process had died there (the temporary file stays behind).
void simulate_crash_after_bytes_for_testing(std::size_t bytes_or_zero);

}  // namespace vessa
