#pragma once
// The program's four-bar icon as an HICON, drawn at run time at any size and colour. The
// caller owns the icon. Used by the tray icon and by the settings window for its own icons.

#include <windows.h>

#include <cstdint>

#include "base/result.hpp"
#include "base/unique_handle_win.hpp"
#include "config/rgb.hpp"

namespace vessa {

// A 32-bit colour bitmap with straight alpha plus a monochrome mask made into an icon. On failure
// nothing created on the way survives; the error carries the failed call's status.
[[nodiscard]] Result<UniqueHicon> draw_tray_icon(std::int32_t width, std::int32_t height, Rgb color);

}  // namespace vessa
