#pragma once
// UTF-8 <-> wchar_t for Win32 calls (wchar_t is a UTF-16 unit on Windows).

#include <string>
#include <string_view>

#include "base/utf.hpp"

namespace vessa {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t holds UTF-16 units");

// Lossy: invalid UTF-8 becomes U+FFFD (texts shown to the user or passed to the system).
[[nodiscard]] inline std::wstring widen(std::string_view text) {
  const std::u16string wide = utf8_to_utf16_lossy(text);
  return {wide.begin(), wide.end()};
}

[[nodiscard]] inline std::string narrow(std::wstring_view text) {
  return utf16_to_utf8_lossy(std::u16string(text.begin(), text.end()));
}

// Strict: nullopt when the text holds an unpaired surrogate (paths must round-trip exactly).
[[nodiscard]] inline std::optional<std::string> narrow_strict(std::wstring_view text) {
  return utf16_to_utf8(std::u16string(text.begin(), text.end()));
}

}  // namespace vessa
