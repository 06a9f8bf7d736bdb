#pragma once
// Where a secondary taskbar shows its clock and notification icons. UI Automation finds the
// shell's "SystemTrayIcon" elements; their union is the area. When that fails in any way
// (no UI Automation, as under Wine; a shell too busy to answer within the time-outs; nothing
// found), the taskbar's TrayNotifyWnd child stands in. Main thread only: the automation
// object lives in its single-threaded apartment.

#include <windows.h>

#include <optional>

#include "base/result.hpp"

namespace vessa {

// How long a call into the shell may take before it counts as failed. The search runs on the
// window thread, so these bound how long a busy or hung shell can hold the bars and the menu.
inline constexpr DWORD kClockConnectionTimeoutMs = 250;
inline constexpr DWORD kClockTransactionTimeoutMs = 500;

// The union of the bounding rectangles (left < right) of the taskbar's descendants whose
// automation id is "SystemTrayIcon"; none when there are none. An error when any call fails.
[[nodiscard]] Result<std::optional<RECT>> clock_area_by_automation(HWND taskbar);

// The automation's area, else the TrayNotifyWnd rectangle, else none.
[[nodiscard]] std::optional<RECT> find_clock_area(HWND taskbar);

}  // namespace vessa
