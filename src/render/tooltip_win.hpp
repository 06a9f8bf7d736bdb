#pragma once
// The tooltip window beside the bars (class VessaTooltipWindow). TooltipState owns the
// window object, which owns its window and its paint data (the rows as texts, the font, the
// colours), so that it can paint for as long as it exists. A window destroyed from outside
// (another program closing it) is noticed, and the next show makes a new one.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "config/config.hpp"
#include "render/geometry.hpp"
#include "render/tooltip.hpp"

namespace vessa {


class TooltipWindow;

struct TooltipState {
  TooltipState();
  ~TooltipState();
  TooltipState(const TooltipState&) = delete;
  TooltipState& operator=(const TooltipState&) = delete;

  std::unique_ptr<TooltipWindow> window;  // none while hidden
  std::vector<TooltipRow> rows;           // as last shown
  TooltipMetrics metrics;
  DriveUsageCache drive_usage;  // refreshed only when the tooltip is refreshed
};

// Destroys the tooltip window, if there is one.
void hide_tooltip(TooltipState& tooltip);
// The tooltip's window; null while hidden or after it was closed from outside.
[[nodiscard]] HWND tooltip_window(const TooltipState& tooltip) noexcept;

// Sizes the tooltip from the rows' templates at `dpi`, places it against `anchor` (screen
// pixels) and shows it without activating it. No rows hide it. When the window cannot be
// made, nothing shows and the next call tries again (class registration included).
void show_tooltip(TooltipState& tooltip, const Config& config, const Placement& anchor, std::uint32_t dpi,
                  bool vertical, std::vector<TooltipRow> rows);

// The free and total bytes of a drive's root ("C:\"), for the tooltip's drive rows; none
// when the drive cannot be read.
[[nodiscard]] std::optional<DriveSpace> query_free_space(const std::string& root_path);

}  // namespace vessa
