#pragma once
// Paths as UTF-8 text, for diagnostics and messages.

#include <filesystem>
#include <string>
#include <string_view>

#ifdef _WIN32
#include "base/utf.hpp"
#endif

namespace vessa {

[[nodiscard]] inline std::string path_to_utf8(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::wstring& wide = path.native();
  return utf16_to_utf8_lossy(std::u16string(wide.begin(), wide.end()));
#else
  return path.native();
#endif
}

[[nodiscard]] inline std::filesystem::path path_from_utf8(std::string_view text) {
#ifdef _WIN32
  const std::u16string wide = utf8_to_utf16_lossy(text);
  return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
  return std::filesystem::path(std::string(text));
#endif
}

}  // namespace vessa
