#pragma once
// The process-wide debug switch and its one-line diagnostics. The switch is set once, right
// after the command line is read and before any other thread exists; when it is off nothing
// is written at all.

#include <string_view>

namespace vessa::debug {

void enable() noexcept;
[[nodiscard]] bool enabled() noexcept;

// Writes `text` (UTF-8) and a line feed when the switch is on.
void line(std::string_view text);

// Where lines go. The default writes to the C standard output; the Windows program installs
// a writer that handles both a console and a redirected output (debug_console_win.hpp).
// Tests may install a capturing sink.
using LineSink = void (*)(std::string_view text);
void set_sink(LineSink sink) noexcept;

}  // namespace vessa::debug
