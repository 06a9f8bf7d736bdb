#pragma once
// The tooltip window beside the bars (class VessaTooltipWindow). TooltipState, kept in
// AppState, owns the window; the window owns its paint data (a copy of the rows, the font,
// the colours) through GWLP_USERDATA, so that it can paint for as long as it exists.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/unique_handle_win.hpp"
#include "config/config.hpp"
#include "render/geometry.hpp"
#include "render/tooltip.hpp"

namespace vessa {

struct AppState;

inline constexpr wchar_t kTooltipWindowClass[] = L"VessaTooltipWindow";

// Takes the paint data away from a tooltip window, releases it and destroys the window.
void destroy_tooltip_window(HWND window) noexcept;
using UniqueTooltipWindow = UniqueAny<HWND, &destroy_tooltip_window>;

struct TooltipState {
  UniqueTooltipWindow window;
  std::vector<TooltipRow> rows;  // as last shown
  TooltipMetrics metrics;
  bool class_registered = false;
  DriveUsageCache drive_usage;  // refreshed only from refresh_tooltip
};

// Rebuilds the rows and shows or moves the tooltip. Nothing before the first sample, and
// nothing while the bars are hidden unless the tooltip is anchored elsewhere (tray icon).
void refresh_tooltip(AppState& state);
// Destroys the tooltip window, if there is one.
void hide_tooltip(AppState& state);
void hide_tooltip(TooltipState& tooltip);

// Sizes the tooltip from the rows' templates at `dpi`, places it against `anchor` (screen
// pixels) and shows it without activating it. No rows hide it.
void show_tooltip(TooltipState& tooltip, const Config& config, const Placement& anchor, std::uint32_t dpi,
                  bool vertical, std::vector<TooltipRow> rows);

}  // namespace vessa
