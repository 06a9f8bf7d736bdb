#pragma once

namespace vessa {

// The process from entry to exit: start-up, the message loop and shutdown. Returns the exit
// status: 0 after a normal end, 1 after a fatal error.
int run_application();

}  // namespace vessa
