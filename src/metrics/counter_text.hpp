#pragma once
// Small text rules for counter paths and instance names: white space, ASCII-case-insensitive
// comparison and a UTF-16 to UTF-8 conversion that writes into an existing string, so that
// reading the same counter array tick after tick reuses the names' storage.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vessa {

// Byte length of the white-space character (Unicode White_Space, UTF-8) that `text` starts
// with, or 0.
[[nodiscard]] std::size_t leading_space_length(std::string_view text) noexcept;
// Byte length of the white-space character that `text` ends with, or 0.
[[nodiscard]] std::size_t trailing_space_length(std::string_view text) noexcept;

// `text` without surrounding white space (ASCII and Unicode, e.g. U+3000).
[[nodiscard]] std::string_view trim_space(std::string_view text) noexcept;

// The non-empty runs of `text` between white space, in order.
[[nodiscard]] std::vector<std::string_view> split_space(std::string_view text);

// Equal when equal after mapping A-Z to a-z; every other byte must match exactly.
[[nodiscard]] bool equals_ignore_ascii_case(std::string_view a, std::string_view b) noexcept;

// Replaces `out` with `units` (UTF-16 code units of any 16-bit type: wchar_t on Windows,
// char16_t elsewhere) converted to UTF-8. Returns false and leaves `out` empty when the text
// holds an unpaired surrogate. Does not allocate when `out` already has the capacity.
template <typename Unit>
[[nodiscard]] bool utf16_to_utf8_into(const Unit* units, std::size_t count, std::string& out) {
  static_assert(sizeof(Unit) == 2, "UTF-16 code units");
  out.clear();
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t code = static_cast<std::uint16_t>(units[i]);
    if (code >= 0xD800 && code <= 0xDBFF) {
      const std::uint32_t low = i + 1 < count ? static_cast<std::uint16_t>(units[i + 1]) : 0u;
      if (low < 0xDC00 || low > 0xDFFF) {
        out.clear();
        return false;
      }
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      ++i;
    } else if (code >= 0xDC00 && code <= 0xDFFF) {
      out.clear();
      return false;
    }
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  }
  return true;
}

// Length of the NUL-terminated run at `units`, looking at no more than `limit` units.
template <typename Unit>
[[nodiscard]] std::size_t bounded_length(const Unit* units, std::size_t limit) noexcept {
  std::size_t length = 0;
  while (length < limit && units[length] != Unit{}) ++length;
  return length;
}

// The names of a list of NUL-terminated UTF-16 names ended by an empty name (the instance
// list PDH fills), never reading past `count` units. Conversion stops at the first name that
// is not valid UTF-16; the names converted so far are the result.
template <typename Unit>
[[nodiscard]] std::vector<std::string> parse_name_list(const Unit* units, std::size_t count) {
  std::vector<std::string> names;
  std::size_t at = 0;
  while (at < count) {
    const std::size_t length = bounded_length(units + at, count - at);
    if (length == 0) break;
    std::string name;
    if (!utf16_to_utf8_into(units + at, length, name)) break;
    names.push_back(std::move(name));
    at += length + 1;
  }
  return names;
}

}  // namespace vessa
