#pragma once
// Pictures of the bars as a Windows user sees them: the real frame, drawn by the real
// rasteriser, blended by its alpha over a strip of taskbar the way the desktop compositor
// blends a per-pixel-alpha layered window. Under Wine the window's transparent background
// shows black (Wine does not blend), so these pictures are the ones the documentation shows.
// Pure functions of plain values; the program beside this file writes them as PNG files.

#include <cstdint>
#include <string>
#include <vector>

#include "config/config.hpp"
#include "metrics/sample.hpp"

namespace vessa::pictures {

// One picture: a configuration with sample figures, on a dark or light taskbar, at a DPI.
struct TaskbarScene {
  std::string name;  // the file name without ".png"
  Config config;
  MetricSample sample;
  bool dark_taskbar = true;
  std::uint32_t dpi = 96;
};

// The pictures of the documentation: the default configuration and the five-item
// configuration with four disk lamps, each on a dark and a light taskbar at 100 % and 150 %.
[[nodiscard]] std::vector<TaskbarScene> documentation_scenes();

// An opaque picture, 0x00RRGGBB per pixel, rows top to bottom.
struct RgbImage {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::vector<std::uint32_t> pixels;

  [[nodiscard]] std::uint32_t at(std::int32_t x, std::int32_t y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
};

// The right end of a 48-pixel taskbar (scaled with the DPI), 200 pixels wide at 96 DPI with
// the notification area in its last 50, in the theme's taskbar colour (#202020 dark, #F3F3F3
// light), with the bar window placed as on Windows and its pixels blended over the strip.
[[nodiscard]] RgbImage taskbar_picture(const TaskbarScene& scene);

// The strip's colour for a taskbar theme.
[[nodiscard]] std::uint32_t taskbar_color(bool dark_taskbar) noexcept;

}  // namespace vessa::pictures
