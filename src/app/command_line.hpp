#pragma once
// The command line: split by the Windows rules, and the one switch the program knows.

#include <string>
#include <string_view>
#include <vector>

namespace vessa {

// Splits a command line the way CommandLineToArgvW and the C runtime do: arguments are
// separated by blanks or tabs; double quotes group; 2n backslashes before a quote give n
// backslashes and a quote that groups, 2n+1 give n backslashes and a literal quote; inside a
// quoted part, "" gives a literal quote. The first argument (the program) ends at the first
// blank outside quotes and takes backslashes literally.
[[nodiscard]] std::vector<std::u16string> split_command_line(std::u16string_view line);

// True when any argument after the program name is exactly "--debug" (case-sensitive).
[[nodiscard]] bool has_debug_switch(const std::vector<std::u16string>& arguments);

}  // namespace vessa
