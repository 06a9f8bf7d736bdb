#pragma once
// Keeping the bar window inside the taskbar: attachment, z-order and layout.

#include <windows.h>

#include <optional>

namespace vessa {

struct AppState;

// Makes sure the window is attached to the current taskbar in the current mode, then lays
// it out.
void attach(AppState& state, HWND bar_window);
// Computes container, placement and geometry, and redraws when anything changed.
void layout(AppState& state, HWND bar_window);

// The strip of the taskbar's monitor outside the work area, else the taskbar's rectangle.
[[nodiscard]] std::optional<RECT> taskbar_band(HWND taskbar);

}  // namespace vessa
