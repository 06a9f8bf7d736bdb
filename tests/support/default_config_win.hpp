#pragma once
// The canonical text of the default configuration (tests/data/default_config.toml, found
// through VESSA_TEST_DATA), and texts derived from it line by line, so that a test can say
// which bytes it expects the program to write.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vessa::test {

// The default configuration, byte for byte; a test failure when the file cannot be read.
const std::string& default_config_text();

// `text` with each whole line `first` replaced by `second`; a test failure for a line that is
// not there.
std::string with_lines(std::string text, const std::vector<std::pair<std::string_view, std::string_view>>& changes);

}  // namespace vessa::test
