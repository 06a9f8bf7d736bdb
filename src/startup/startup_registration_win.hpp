#pragma once
// Start with Windows through a shortcut "VESSA.lnk" in the current user's Startup folder. The
// file system and the registry are the only record: nothing about it is kept in the
// configuration. The settings window reads the state when it is built and applies the box
// when it is accepted; all of it runs on the main thread, per user, without elevation.

#include <filesystem>
#include <optional>

namespace vessa {

// The Startup known folder joined with "VESSA.lnk"; none when the folder cannot be obtained or
// its path is not valid Unicode.
[[nodiscard]] std::optional<std::filesystem::path> startup_shortcut_path();

// Whether the program is registered: the shortcut exists and Windows has not disabled it (the
// user's choice in the Task Manager, kept in the StartupApproved value).
[[nodiscard]] bool start_with_windows_state();

// Makes the registration match `enable`, every time the settings window is accepted: removes
// an old Run value, then writes the shortcut to the running executable and re-enables it, or
// deletes the shortcut (leaving the user's choice in Windows as it is). Nothing is reported to
// the user; with --debug a failed step writes one line.
void set_start_with_windows(bool enable);

}  // namespace vessa
