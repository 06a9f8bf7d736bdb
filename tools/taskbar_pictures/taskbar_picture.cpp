#include "taskbar_picture.hpp"

#include <optional>

#include "config/colors.hpp"
#include "render/bar_frame.hpp"
#include "render/canvas.hpp"
#include "render/placement.hpp"
#include "render/rasterize.hpp"

namespace vessa::pictures {
namespace {

constexpr std::int32_t kStripWidth = 200;  // at 96 DPI
constexpr std::int32_t kStripHeight = 48;
constexpr std::int32_t kNotificationAreaWidth = 50;

std::int32_t scaled(std::int32_t length, std::uint32_t dpi) {
  return static_cast<std::int32_t>(std::int64_t{length} * dpi / 96);
}

std::uint32_t packed(Rgb color) noexcept {
  return (std::uint32_t{color.r} << 16) | (std::uint32_t{color.g} << 8) | color.b;
}

MetricSample default_sample() {
  MetricSample sample;
  sample.bars = {{37.5, MetricKind::Cpu}, {62.0, MetricKind::Memory}, {12.0, MetricKind::Disk}, {0.0, MetricKind::Net}};
  sample.net_rx_percent = 40.0;
  sample.net_tx_percent = 75.0;
  sample.lamp_lit = true;
  return sample;
}

// Every item, and four physical disks: reading, idle, reading and writing, writing.
MetricSample five_item_sample() {
  MetricSample sample = default_sample();
  sample.bars.push_back({81.0, MetricKind::Gpu});
  sample.disks = {{"C:", 1e6, true, false}, {"D:", 0, false, false}, {"E:", 5e6, true, true}, {"F:", 2e5, false, true}};
  return sample;
}

}  // namespace

std::uint32_t taskbar_color(bool dark_taskbar) noexcept { return packed(preview_background(dark_taskbar)); }

std::vector<TaskbarScene> documentation_scenes() {
  Config five_items;
  five_items.metrics.items = {MetricKind::Cpu, MetricKind::Memory, MetricKind::Disk, MetricKind::Net, MetricKind::Gpu};
  std::vector<TaskbarScene> scenes;
  for (const bool five : {false, true}) {
    for (const bool dark : {true, false}) {
      for (const std::uint32_t dpi : {96u, 144u}) {
        TaskbarScene scene;
        scene.name = std::string("bars-") + (five ? "five-items" : "default") + (dark ? "-dark-" : "-light-") +
                     (dpi == 96 ? "100" : "150");
        scene.config = five ? five_items : Config{};
        scene.sample = five ? five_item_sample() : default_sample();
        scene.dark_taskbar = dark;
        scene.dpi = dpi;
        scenes.push_back(std::move(scene));
      }
    }
  }
  return scenes;
}

RgbImage taskbar_picture(const TaskbarScene& scene) {
  RgbImage image;
  image.width = scaled(kStripWidth, scene.dpi);
  image.height = scaled(kStripHeight, scene.dpi);
  image.pixels.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height),
                      taskbar_color(scene.dark_taskbar));

  const Rect taskbar{0, 0, image.width, image.height};
  const Rect notification_area{image.width - scaled(kNotificationAreaWidth, scene.dpi), 0, image.width, image.height};
  const PlacementResult layout = compute_placement(scene.config, taskbar, scene.dpi, scene.config.metrics.items.size(),
                                                   notification_area);
  const Placement& at = layout.placement;
  const FrameModel frame =
      build_frame(scene.config, resolve_colors(scene.config.appearance, scene.dark_taskbar), scene.sample,
                  layout.geometry, at.width, at.height, scene.dpi, kNoIcon, std::nullopt);
  PixelBuffer window(at.width, at.height);
  rasterize(frame, window.canvas());

  // The compositor's source-over blend of the premultiplied window onto the opaque taskbar.
  for (std::int32_t y = 0; y < at.height; ++y) {
    for (std::int32_t x = 0; x < at.width; ++x) {
      const std::int64_t screen_x = std::int64_t{at.x} + x;
      const std::int64_t screen_y = std::int64_t{at.y} + y;
      if (screen_x < 0 || screen_y < 0 || screen_x >= image.width || screen_y >= image.height) continue;
      std::uint32_t& pixel = image.pixels[static_cast<std::size_t>(screen_y) * static_cast<std::size_t>(image.width) +
                                          static_cast<std::size_t>(screen_x)];
      pixel = blend_over(0xFF000000u | pixel, window.at(x, y)) & 0x00FFFFFFu;
    }
  }
  return image;
}

}  // namespace vessa::pictures
