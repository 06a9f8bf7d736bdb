#pragma once
// The settings window's Win32 theming: dark title bars and dark control themes, and the
// window's own icons drawn with the four-bar shape.

#include <windows.h>

#include <cstdint>

#include "base/unique_handle_win.hpp"
#include "config/rgb.hpp"

namespace vessa {

// Asks for a dark (or light) title bar; systems without the attribute ignore it.
void apply_dark_title_bar(HWND window, bool dark) noexcept;

// On a dark palette, edit boxes and combo boxes take the "DarkMode_CFD" theme and every other
// control "DarkMode_Explorer"; on a light one controls keep the default theme.
void apply_control_theme(HWND control, bool dark) noexcept;

struct WindowIcons {
  UniqueHicon small_icon;
  UniqueHicon large_icon;
};
// The four-bar icon at the system's small and large icon sizes (each at least 8 pixels) in
// `color`, set on `window`. The caller keeps the icons for as long as the window lives.
[[nodiscard]] WindowIcons set_window_icons(HWND window, Rgb color);

}  // namespace vessa
