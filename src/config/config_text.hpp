#pragma once
// config.toml as text: the program's own canonical writer and the reader that maps a TOML
// document onto a Config. The canonical text is what a save writes and what a loaded file is
// compared with byte for byte: the six tables in their order, under each header every key
// in its order as one `key = value` line, optional keys left out when not set, one blank
// line between tables, no comments.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.hpp"
#include "config/config.hpp"

namespace vessa {

// The canonical text of `config`. Fails only for values TOML cannot hold: an unsigned 64-bit
// value above the largest TOML integer, a string that is not UTF-8, an enumeration value
// outside its list.
[[nodiscard]] Result<std::string> write_config_text(const Config& config);

struct ConfigReading {
  Config config;                          // the defaults when the text was rejected
  std::optional<std::string> rejection;   // the parser's error text when the text was rejected
  std::vector<std::string> unknown_keys;  // keys the configuration does not know, as dotted paths
  bool canonical = false;                 // the text is exactly the canonical text of `config`
};

// Reads a TOML text into a Config: missing tables and keys keep their defaults, unknown keys
// are passed over (and listed), and any malformed TOML or unacceptable value (wrong type,
// integer outside its field's width, unknown enumeration text, bad colour) rejects the text
// as a whole.
[[nodiscard]] ConfigReading read_config_text(std::string_view text);

// `text` fit for a one-line diagnostic: line breaks, tabs and other control characters
// become escapes ("\n", "\t", "\x1B").
[[nodiscard]] std::string one_line(std::string_view text);

// Field-by-field equality in which NaN equals NaN: what a write and read back preserves.
[[nodiscard]] bool same_config(const Config& a, const Config& b);

}  // namespace vessa
