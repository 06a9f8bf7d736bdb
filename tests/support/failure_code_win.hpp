#pragma once
// Checks on the failure codes in the program's error texts.

#include <string_view>

namespace vessa::test {

// Whether an error's text ends with a failure HRESULT as the program writes one ("... (0x8...)"
// or the code alone). For a call that fails for want of a class or an interface, which one
// differs between systems (and Wines), and so does the code.
bool ends_with_failure_code(std::string_view text);

}  // namespace vessa::test
