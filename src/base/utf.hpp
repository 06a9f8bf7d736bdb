#pragma once
// Strict conversions between UTF-8 and UTF-16. Text inside the program is UTF-8; Win32 calls
// take UTF-16. Invalid input is reported, never guessed at.

#include <optional>
#include <string>
#include <string_view>

namespace vessa {

[[nodiscard]] bool is_valid_utf8(std::string_view text) noexcept;

// nullopt when `text` is not valid UTF-8 (overlong forms, surrogates and values above
// U+10FFFF are invalid).
[[nodiscard]] std::optional<std::u16string> utf8_to_utf16(std::string_view text);
// nullopt when `text` holds an unpaired surrogate.
[[nodiscard]] std::optional<std::string> utf16_to_utf8(std::u16string_view text);

// Lossy forms for text that must be shown anyway: each invalid sequence becomes U+FFFD.
[[nodiscard]] std::u16string utf8_to_utf16_lossy(std::string_view text);
[[nodiscard]] std::string utf16_to_utf8_lossy(std::u16string_view text);

// Number of Unicode scalar values in valid UTF-8 text.
[[nodiscard]] std::size_t utf8_length(std::string_view text) noexcept;

}  // namespace vessa
