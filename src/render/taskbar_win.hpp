#pragma once
// Keeping the bar window inside the taskbar: attachment, z-order and layout. The arithmetic
// of the placement is compute_placement (placement.hpp); this side finds the taskbar's
// rectangles, applies the result and redraws.

#include <windows.h>

#include <optional>

#include "render/geometry.hpp"

namespace vessa {

struct AppState;

// Makes sure the window is attached to the current taskbar in the current mode, puts the
// mirrors back in z-order, then lays it out.
void attach(AppState& state, HWND bar_window);
// Computes container, placement and geometry, stores them, and redraws when anything changed.
void layout(AppState& state, HWND bar_window);

// The strip of the taskbar's monitor outside the work area (bottom, top, right, left, in this
// order), else the taskbar's window rectangle; none when even that cannot be had.
[[nodiscard]] std::optional<RECT> taskbar_band(HWND taskbar);
// The screen rectangle of the taskbar's TrayNotifyWnd child, when it has one that is not empty.
[[nodiscard]] std::optional<RECT> notification_area_rect(HWND taskbar);
// Puts `window` directly above `target` in z-order, trying at most 64 windows above it.
void raise_over(HWND window, HWND target);

[[nodiscard]] inline Rect to_rect(const RECT& r) noexcept { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace vessa
