#pragma once
// Mirrors of the bars on the taskbars of secondary displays. The layout and drawing of the
// bar window call these at the points where the mirrors take part: z-order on every attach,
// their own placement on every layout, their drawing after the bar window's.
//
// There are no mirror windows yet: these keep the call points in place.

#include <windows.h>

namespace vessa {

struct AppState;

// Puts every mirror back above its secondary taskbar.
void raise_mirrors(AppState& state);
// Keeps one mirror per secondary taskbar and places each; true when any mirror was created,
// destroyed or moved, so that the caller redraws.
[[nodiscard]] bool update_mirrors(AppState& state, HWND bar_window);
// Draws and pushes every laid-out mirror from the state's last sample.
void draw_mirrors(AppState& state);

}  // namespace vessa
