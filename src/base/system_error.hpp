#pragma once
// The text of an operating-system error as it appears in a cause chain: the system's message
// followed by the code, for example "The operation timed out (0x80072EE2)", or the code alone
// ("0x80072EE2") when the system has no text for it.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/error.hpp"

namespace vessa {

// HRESULT_FROM_WIN32: Win32 codes become failure HRESULTs of FACILITY_WIN32; 0 stays 0 and
// values that already are HRESULTs (negative as 32-bit signed) are kept.
[[nodiscard]] constexpr std::uint32_t hresult_from_win32(std::uint32_t code) noexcept {
  if (code == 0 || (code & 0x80000000u) != 0) return code;
  return (code & 0xFFFFu) | (7u << 16) | 0x80000000u;
}

// "0x" and eight upper-case hexadecimal digits.
[[nodiscard]] std::string hex_code(std::uint32_t code);

// The cause text: the system text with trailing white space and line breaks removed, a blank,
// and the code in parentheses; the code alone when the text is empty.
[[nodiscard]] std::string system_error_text(std::string_view system_text, std::uint32_t hresult);

// An Error holding system_error_text as its message, for use as a cause.
[[nodiscard]] Error system_error(std::string_view system_text, std::uint32_t hresult);

}  // namespace vessa
