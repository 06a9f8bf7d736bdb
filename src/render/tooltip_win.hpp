#pragma once
// The tooltip window beside the bars.

#include <windows.h>

namespace vessa {

struct AppState;

struct TooltipState {
  HWND window = nullptr;
};

// Rebuilds the rows and shows or moves the tooltip.
void refresh_tooltip(AppState& state);
// Destroys the tooltip window, if there is one.
void hide_tooltip(AppState& state);

}  // namespace vessa
