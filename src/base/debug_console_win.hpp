#pragma once

namespace vessa::debug {

// Attaches to the parent's console (failure ignored) and routes diagnostic lines to the
// standard output handle: UTF-16 through WriteConsoleW when it is a console, UTF-8 bytes
// through WriteFile when it is redirected to a file or a pipe.
void attach_parent_console();

}  // namespace vessa::debug
