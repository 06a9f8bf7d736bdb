#pragma once
// The parts of the configuration file handling that work on toml++'s table tree. Only the
// configuration code and its tests include this; it pulls in the TOML library.

#include <string>
#include <string_view>
#include <vector>

#include "config/toml_library.hpp"

namespace vessa {

// The keys of `file` that `canonical` does not have, as dotted paths, in key order (tables
// keep their keys sorted). A table the canonical form does not know is reported once by its
// own path; keys missing from the file are not reported.
[[nodiscard]] std::vector<std::string> unknown_key_paths(const toml::table& file, const toml::table& canonical,
                                                         std::string_view prefix = {});

}  // namespace vessa
