#pragma once
// The running executable's own path, for what lives beside it or points at it.

#include <filesystem>

#include "base/result.hpp"

namespace vessa {

// The full path GetModuleFileNameW gives for the executable, however long it is.
[[nodiscard]] Result<std::filesystem::path> executable_path();

}  // namespace vessa
