#include "metrics/counter_text.hpp"

#include <array>

namespace vessa {
namespace {

// Unicode White_Space beyond ASCII, as UTF-8.
constexpr std::array<std::string_view, 19> kWideSpaces = {
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
    "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88",
    "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F",
    "\xE3\x80\x80"};

constexpr bool is_ascii_space(char c) noexcept { return c == ' ' || (c >= '\t' && c <= '\r'); }

constexpr char ascii_lower(char c) noexcept { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

template <typename Match>
std::size_t wide_space_length(Match&& match) noexcept {
  for (const std::string_view space : kWideSpaces) {
    if (match(space)) return space.size();
  }
  return 0;
}

}  // namespace

std::size_t leading_space_length(std::string_view text) noexcept {
  if (text.empty()) return 0;
  if (is_ascii_space(text.front())) return 1;
  return wide_space_length([text](std::string_view space) { return text.starts_with(space); });
}

std::size_t trailing_space_length(std::string_view text) noexcept {
  if (text.empty()) return 0;
  if (is_ascii_space(text.back())) return 1;
  return wide_space_length([text](std::string_view space) { return text.ends_with(space); });
}

std::string_view trim_space(std::string_view text) noexcept {
  while (const std::size_t n = leading_space_length(text)) text.remove_prefix(n);
  while (const std::size_t n = trailing_space_length(text)) text.remove_suffix(n);
  return text;
}

std::vector<std::string_view> split_space(std::string_view text) {
  std::vector<std::string_view> tokens;
  std::size_t at = 0;
  std::size_t start = 0;
  while (at < text.size()) {
    const std::size_t space = leading_space_length(text.substr(at));
    if (space == 0) {
      ++at;
      continue;
    }
    if (at > start) tokens.push_back(text.substr(start, at - start));
    at += space;
    start = at;
  }
  if (at > start) tokens.push_back(text.substr(start, at - start));
  return tokens;
}

bool equals_ignore_ascii_case(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  }
  return true;
}

}  // namespace vessa
