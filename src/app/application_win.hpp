#pragma once

#include <windows.h>

namespace vessa {

// The process from entry to exit: start-up, the message loop and shutdown. Returns the exit
// status: 0 after a normal end, 1 after a fatal error.
int run_application();

struct AppState;
using GetMessageFunction = BOOL(WINAPI*)(LPMSG, HWND, UINT, UINT);

// The message loop: runs until WM_QUIT (status 0) or until `get_message` fails, which ends
// the program as asked for (the bar window destroyed, its tray icon removed) with the fatal
// report (status 1).
int run_message_loop(AppState& state, GetMessageFunction get_message);

}  // namespace vessa
