#pragma once
// Another process's popup menus (class #32768), as a user sees them open and close.

#include <windows.h>

#include <chrono>
#include <optional>
#include <vector>

#include "harness_win.hpp"

namespace vessa::test {

// The visible popup menu window (#32768) of process `pid`.
std::optional<HWND> visible_menu(DWORD pid);
std::optional<HWND> wait_for_menu(DWORD pid, std::chrono::milliseconds timeout = 5s);
bool wait_for_no_menu(DWORD pid, std::chrono::milliseconds timeout = 5s);

}  // namespace vessa::test
