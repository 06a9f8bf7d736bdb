#pragma once

#include <windows.h>

namespace vessa {

inline constexpr wchar_t kBarWindowClass[] = L"VessaMonitorWindow";

// The bar window's procedure: the program's hub after start-up.
LRESULT CALLBACK bar_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Kills timers 1 and 2 and destroys the window; failures are ignored.
void destroy_bar_window(HWND window);

}  // namespace vessa
