#pragma once

#include <windows.h>

namespace vessa {

struct AppState;

// Draws the bar window (and every laid-out mirror) from the last sample and pushes the pixels
// with UpdateLayeredWindow. Nothing before the first sample or in tray-only mode.
void draw_and_push(AppState& state, HWND bar_window);

}  // namespace vessa
