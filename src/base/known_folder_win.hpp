#pragma once
// A folder the shell knows by its identifier (the roaming application data, the Startup
// folder), as a path.

#include <windows.h>

#include <filesystem>
#include <string>

#include "base/result.hpp"

namespace vessa {

// The folder SHGetKnownFolderPath gives for `folder`. Fails with `message` (and the call's
// HRESULT as cause) when the shell has no such folder, and with `message` alone when its path
// is empty or not valid UTF-16, since such a path could not be shown or saved.
[[nodiscard]] Result<std::filesystem::path> known_folder_path(const GUID& folder, const std::string& message);

}  // namespace vessa
