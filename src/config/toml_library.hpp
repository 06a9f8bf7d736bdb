#pragma once
// toml++, included through this header only.
//
// toml++ 3.3 and 3.4 tell non-ASCII blanks from other characters with a generated table that
// misses three of its ranges: for any other character from U+00A1 to U+0499, U+2D6E to
// U+3167 or U+FB36 to U+FF2F (an "é" where a blank may stand, for one) it runs into
// __builtin_unreachable, which is undefined behaviour. The macro below routes the library's
// one call of that function to a complete version and leaves the faulty one unused: the
// definition `is_non_ascii_horizontal_whitespace(char32_t c)` and the call
// `is_non_ascii_horizontal_whitespace(c)` differ in their argument's first token.

namespace vessa::toml_fix {

// The characters toml++ counts as non-ASCII horizontal blanks.
constexpr bool is_non_ascii_blank(char32_t c) noexcept {
  return c == U'\u00A0' || c == U'\u1680' || c == U'\u180E' || (c >= U'\u2000' && c <= U'\u200B') ||
         c == U'\u202F' || c == U'\u205F' || c == U'\u2060' || c == U'\u3000' || c == U'\uFEFF';
}

}  // namespace vessa::toml_fix

#define is_non_ascii_horizontal_whitespace(argument) VESSA_TOML_BLANK_##argument)
#define VESSA_TOML_BLANK_char32_t unused_non_ascii_horizontal_whitespace(char32_t
#define VESSA_TOML_BLANK_c ::vessa::toml_fix::is_non_ascii_blank(c

#include <toml++/toml.h>

#undef is_non_ascii_horizontal_whitespace
#undef VESSA_TOML_BLANK_char32_t
#undef VESSA_TOML_BLANK_c

// The faulty definition went out of use under its new name. A toml++ that spells it otherwise
// stops the build here, to be looked at again, rather than call the faulty one unnoticed.
static_assert(::toml::impl::unused_non_ascii_horizontal_whitespace(U'\u3000'));
