#include "base/utf.hpp"

#include <cstdint>

namespace vessa {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one scalar value at `pos`; returns false (and advances by one byte) when the
// sequence there is invalid.
bool decode_utf8(std::string_view text, std::size_t& pos, char32_t& out) noexcept {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(pos);
  std::size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    out = lead;
    ++pos;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2; value = lead & 0x1Fu; minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3; value = lead & 0x0Fu; minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4; value = lead & 0x07u; minimum = 0x10000;
  } else {
    ++pos;
    return false;
  }
  if (text.size() - pos < length) {
    ++pos;
    return false;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const std::uint8_t next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return false;
    }
    value = (value << 6) | (next & 0x3Fu);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return false;
  }
  pos += length;
  out = value;
  return true;
}

void append_utf16(std::u16string& out, char32_t value) {
  if (value < 0x10000) {
    out += static_cast<char16_t>(value);
  } else {
    value -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (value >> 10));
    out += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
  }
}

void append_utf8(std::string& out, char32_t value) {
  if (value < 0x80) {
    out += static_cast<char>(value);
  } else if (value < 0x800) {
    out += static_cast<char>(0xC0 | (value >> 6));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    out += static_cast<char>(0xE0 | (value >> 12));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (value >> 18));
    out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  }
}

// Decodes one scalar value from UTF-16; false for an unpaired surrogate.
bool decode_utf16(std::u16string_view text, std::size_t& pos, char32_t& out) noexcept {
  const char16_t unit = text[pos++];
  if (unit < 0xD800 || unit > 0xDFFF) {
    out = unit;
    return true;
  }
  if (unit <= 0xDBFF && pos < text.size() && text[pos] >= 0xDC00 && text[pos] <= 0xDFFF) {
    out = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[pos] - 0xDC00);
    ++pos;
    return true;
  }
  return false;
}

}  // namespace

bool is_valid_utf8(std::string_view text) noexcept {
  std::size_t pos = 0;
  char32_t value = 0;
  while (pos < text.size()) {
    if (!decode_utf8(text, pos, value)) return false;
  }
  return true;
}

std::optional<std::u16string> utf8_to_utf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  char32_t value = 0;
  while (pos < text.size()) {
    if (!decode_utf8(text, pos, value)) return std::nullopt;
    append_utf16(out, value);
  }
  return out;
}

std::optional<std::string> utf16_to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  char32_t value = 0;
  while (pos < text.size()) {
    if (!decode_utf16(text, pos, value)) return std::nullopt;
    append_utf8(out, value);
  }
  return out;
}

std::u16string utf8_to_utf16_lossy(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  char32_t value = 0;
  while (pos < text.size()) {
    append_utf16(out, decode_utf8(text, pos, value) ? value : kReplacement);
  }
  return out;
}

std::string utf16_to_utf8_lossy(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  char32_t value = 0;
  while (pos < text.size()) {
    append_utf8(out, decode_utf16(text, pos, value) ? value : kReplacement);
  }
  return out;
}

std::size_t utf8_length(std::string_view text) noexcept {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

}  // namespace vessa
