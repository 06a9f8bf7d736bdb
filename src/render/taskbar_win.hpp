#pragma once
// What the placement needs from the taskbar's windows: its band, its notification area, and
// z-order above it. The arithmetic of the placement is compute_placement (placement.hpp).

#include <windows.h>

#include <optional>

#include "render/geometry.hpp"
#include "render/taskbar_follow.hpp"

namespace vessa {

// The primary taskbar's window, null while the shell has none.
[[nodiscard]] inline HWND find_taskbar() noexcept { return FindWindowW(L"Shell_TrayWnd", nullptr); }
// The strip of the taskbar's monitor outside the work area (bottom, top, right, left, in this
// order), else the taskbar's window rectangle; none when even that cannot be had.
[[nodiscard]] std::optional<RECT> taskbar_band(HWND taskbar);
// The screen rectangle of the taskbar's TrayNotifyWnd child, when it has one that is not empty.
[[nodiscard]] std::optional<RECT> notification_area_rect(HWND taskbar);
// Puts `window` directly above `target` in z-order, trying at most 64 windows above it.
void raise_over(HWND window, HWND target);

// The taskbar's window rectangle, none when the window is gone.
[[nodiscard]] std::optional<Rect> taskbar_rect(HWND taskbar);
// What a layout over `taskbar` is made for: its window rectangle and, when `with_notification_area`
// (the bars end before it), its notification area. None when the taskbar is gone.
[[nodiscard]] std::optional<TaskbarShape> taskbar_shape(HWND taskbar, bool with_notification_area);
// One cheap look at `taskbar` and `window`, laid over it (a few reads, no change); none when
// the taskbar is gone.
[[nodiscard]] std::optional<TaskbarLook> look_at_taskbar(HWND window, HWND taskbar, bool with_notification_area);
// Keeps `window` on `taskbar` between layouts: one look, a raise when the window was covered
// or left in the other band, and the window hidden while the taskbar is and shown again with
// it when `shown` (the user's choice) allows. True when the taskbar is no longer of the shape
// `laid_out_over` (lay out again); false when it is gone.
[[nodiscard]] bool follow_taskbar(HWND window, HWND taskbar, const std::optional<TaskbarShape>& laid_out_over,
                                  bool with_notification_area, bool shown);

[[nodiscard]] inline Rect to_rect(const RECT& r) noexcept { return Rect{r.left, r.top, r.right, r.bottom}; }

}  // namespace vessa
