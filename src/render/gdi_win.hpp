#pragma once
// The small GDI helpers everything that paints with GDI shares: colours as COLORREF, a
// filled rectangle, the answer to a WM_CTLCOLOR* message, and a window's DPI with the 96
// fallback.

#include <windows.h>

#include <cstdint>

#include "base/dpi.hpp"
#include "base/unique_handle_win.hpp"
#include "config/rgb.hpp"

namespace vessa {

[[nodiscard]] constexpr COLORREF colorref(Rgb color) noexcept { return RGB(color.r, color.g, color.b); }

inline void fill(HDC dc, const RECT& rect, Rgb color) noexcept {
  const UniqueHbrush brush(CreateSolidBrush(colorref(color)));
  if (brush) FillRect(dc, &rect, brush.get());
}

// Sets the text and background colours on the message's DC and answers with `brush`.
inline LRESULT control_colors(WPARAM dc, Rgb text, Rgb background, HBRUSH brush) noexcept {
  SetTextColor(reinterpret_cast<HDC>(dc), colorref(text));
  SetBkColor(reinterpret_cast<HDC>(dc), colorref(background));
  return reinterpret_cast<LRESULT>(brush);
}

[[nodiscard]] inline std::uint32_t window_dpi(HWND window) noexcept { return effective_dpi(GetDpiForWindow(window)); }

}  // namespace vessa
