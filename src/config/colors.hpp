#pragma once
// Colours the bars are drawn with, resolved from the appearance settings and the taskbar's
// light or dark theme.

#include "config/config.hpp"
#include "config/rgb.hpp"

namespace vessa {

struct ResolvedColors {
  Rgb cpu;
  Rgb memory;
  Rgb disk;
  Rgb gpu;
  Rgb net_rx;
  Rgb net_tx;
  Rgb net_overlap;
  Rgb lamp_read;
  Rgb lamp_write;
  Rgb lamp_both;

  friend bool operator==(const ResolvedColors&, const ResolvedColors&) = default;
};

[[nodiscard]] ResolvedColors resolve_colors(const Appearance& appearance, bool dark_taskbar);

}  // namespace vessa
