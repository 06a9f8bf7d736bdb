#pragma once

#include <windows.h>

#include "app/startup_rules.hpp"
#include "config/enums.hpp"

namespace vessa {

struct AppState;

inline constexpr wchar_t kBarWindowClass[] = L"VessaMonitorWindow";

// The bar window's procedure: the program's hub after start-up.
LRESULT CALLBACK bar_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Creates the bar window for `mode` (a child of `taskbar`, a topmost overlay, or a
// message-only window) with `state` as its creation parameter; null on failure.
[[nodiscard]] HWND create_bar_window(AppState& state, AttachMode mode, HWND taskbar);

// Sets the update timer and, when their periods are not 0, the reattach and weather timers.
void start_bar_timers(HWND window, const TimerPeriods& timers);

// Kills timers 1 and 2 and destroys the window; failures are ignored. The program ends when
// the window goes with AppState::exit_requested set (else a child lost with its taskbar is
// replaced); the handle may already be gone, and nothing is read from it.
void destroy_bar_window(HWND window);

}  // namespace vessa
