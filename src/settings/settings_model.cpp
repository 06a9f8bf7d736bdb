#include "settings/settings_model.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/dpi.hpp"
#include "metrics/counter_text.hpp"
#include "render/bar_frame.hpp"
#include "render/placement.hpp"
#include "render/rasterize.hpp"

namespace vessa {

namespace {

bool is_drive_letter_name(std::string_view name) noexcept {
  if (name.size() != 2 || name[1] != ':') return false;
  const char c = name[0];
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

void sort_unique(std::vector<std::string>& names) {
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
}

constexpr std::array<std::array<Rgb, kLampPresetCount>, 3> kLampPresets{{
    {rgb_hex(0x4A7FD9), rgb_hex(0x4499CC), rgb_hex(0x3FAE9B), rgb_hex(0x60A96C), rgb_hex(0x82B555),
     rgb_hex(0x9CBE4A)},
    {rgb_hex(0xC8663F), rgb_hex(0xC8524B), rgb_hex(0xBE6660), rgb_hex(0xC4526E), rgb_hex(0xC85E92),
     rgb_hex(0xB563AC)},
    {rgb_hex(0xD98241), rgb_hex(0xD9932F), rgb_hex(0xD9A441), rgb_hex(0xCFAE33), rgb_hex(0xD8C044),
     rgb_hex(0xD6CC66)},
}};

std::string fixed4(double value) {
  std::array<char, 64> buffer{};
  const auto [end, error] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, 4);
  if (error != std::errc{}) return {};
  return std::string(buffer.data(), end);
}

}  // namespace

std::vector<std::string> disk_choices(const std::vector<std::string>& logical_disk_instances) {
  std::vector<std::string> letters;
  for (const std::string& name : logical_disk_instances) {
    if (is_drive_letter_name(name)) letters.push_back(name);
  }
  sort_unique(letters);
  std::vector<std::string> choices;
  choices.reserve(letters.size() + 1);
  choices.emplace_back(kAllDisksInstance);
  choices.insert(choices.end(), letters.begin(), letters.end());
  return choices;
}

std::vector<bool> disk_selection(const std::vector<std::string>& choices,
                                 const std::vector<std::string>& disk_instances) {
  std::vector<bool> selection(choices.size(), false);
  bool any = false;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    for (const std::string& configured : disk_instances) {
      const std::string_view wanted = trim_space(configured);
      if (!wanted.empty() && equals_ignore_ascii_case(choices[i], wanted)) {
        selection[i] = true;
        any = true;
        break;
      }
    }
  }
  if (!any && !selection.empty()) selection[0] = true;
  return selection;
}

std::vector<std::string> selected_disks(const std::vector<std::string>& choices, const std::vector<bool>& selection) {
  std::vector<std::string> disks;
  if (selection.empty() || selection[0]) return disks;
  const std::size_t count = std::min(choices.size(), selection.size());
  for (std::size_t i = 1; i < count; ++i) {
    if (selection[i]) disks.push_back(choices[i]);
  }
  return disks;
}

std::string disk_button_text(const std::vector<std::string>& choices, const std::vector<bool>& selection,
                             const TextTable& texts) {
  const std::vector<std::string> disks = selected_disks(choices, selection);
  std::string text;
  if (disks.empty()) {
    text = texts.text(TextId::All);
  } else {
    for (const std::string& disk : disks) {
      if (!text.empty()) text += ", ";
      text += disk;
    }
  }
  text += "  \u25BE";
  return text;
}

std::vector<std::string> adapter_choices(std::vector<std::string> network_instances) {
  std::erase_if(network_instances, [](const std::string& name) { return name.empty(); });
  sort_unique(network_instances);
  return network_instances;
}

std::size_t adapter_item(const std::vector<std::string>& adapters, std::string_view configured) {
  const std::string_view wanted = trim_space(configured);
  if (wanted.empty()) return 0;
  const auto found = std::find(adapters.begin(), adapters.end(), wanted);
  return found == adapters.end() ? 0 : static_cast<std::size_t>(found - adapters.begin()) + 1;
}

const std::array<Rgb, kLampPresetCount>& lamp_presets(LampSlot slot) noexcept {
  return kLampPresets[std::min<std::size_t>(static_cast<std::size_t>(slot), kLampPresets.size() - 1)];
}

std::size_t lamp_preset_item(LampSlot slot, Rgb color) noexcept {
  const auto& presets = lamp_presets(slot);
  for (std::size_t i = 0; i < presets.size(); ++i) {
    if (presets[i] == color) return i;
  }
  return slot == LampSlot::Read ? 3 : 2;
}

Swatches swatches_of(const Appearance& appearance, bool dark_taskbar) {
  const ResolvedColors colors = resolve_colors(appearance, dark_taskbar);
  return {colors.cpu, colors.memory, colors.disk, colors.net_rx, colors.gpu};
}

Swatches swatches_for_scheme(ColorScheme scheme, ColorFamily family, bool dark_taskbar, const Swatches& current) {
  if (scheme == ColorScheme::Custom) return current;
  Appearance appearance;
  appearance.color_scheme = scheme;
  appearance.color_family = family;
  return swatches_of(appearance, dark_taskbar);
}

std::optional<std::int32_t> bar_area_limit(const std::optional<TaskbarExtent>& taskbar,
                                           std::int32_t padding_y) noexcept {
  if (!taskbar.has_value()) return std::nullopt;
  const std::int64_t dpi = effective_dpi(taskbar->dpi);
  const std::int64_t shorter = std::max<std::int64_t>(0, std::min(taskbar->width, taskbar->height));
  const std::int64_t limit = shorter * 96 / dpi - 2 * std::int64_t{padding_y};
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(limit, 1, std::numeric_limits<std::int32_t>::max()));
}

std::string label_with_unit(std::string_view label, std::string_view unit) {
  std::string text(label);
  text += " (";
  text += unit;
  text += ')';
  return text;
}

std::string bar_area_label(const TextTable& texts, std::optional<std::int32_t> limit) {
  if (!limit.has_value()) return label_with_unit(texts.text(TextId::BarAreaHeight), texts.text(TextId::UnitPixels));
  std::string unit(texts.text(TextId::UnitPixels));
  unit += ", ";
  unit += texts.text(TextId::Maximum);
  unit += ' ';
  unit += std::to_string(*limit);
  return label_with_unit(texts.text(TextId::BarAreaHeight), unit);
}

std::string configured_coordinates_text(std::optional<double> latitude, std::optional<double> longitude) {
  if (!latitude.has_value() || !longitude.has_value()) return {};
  return fixed4(*latitude) + ", " + fixed4(*longitude);
}

bool weather_tick_locates_device(bool ticked, bool automatic_area, const Weather& weather) noexcept {
  return ticked && automatic_area && (!weather.latitude.has_value() || !weather.longitude.has_value());
}

std::string shortest_number_text(double value) {
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  if (error != std::errc{}) return {};
  return std::string(buffer.data(), end);
}

std::optional<std::string_view> control_theme(std::string_view class_name, bool dark) noexcept {
  if (!dark) return std::nullopt;
  if (equals_ignore_ascii_case(class_name, "Edit") || equals_ignore_ascii_case(class_name, "ComboBox")) {
    return "DarkMode_CFD";
  }
  return "DarkMode_Explorer";
}

MetricSample preview_sample(const Config& config) {
  MetricSample sample;
  sample.cpu_mhz = 3420.0;
  for (const MetricKind kind : config.metrics.items) {
    double percent = 0.0;
    switch (kind) {
      case MetricKind::Cpu: percent = 62.0; break;
      case MetricKind::Memory: percent = 48.0; break;
      case MetricKind::Disk: percent = 34.0; break;
      case MetricKind::Net: percent = 0.0; break;
      case MetricKind::Gpu: percent = 21.0; break;
    }
    sample.bars.push_back({percent, kind});
  }
  sample.disk_busy_percent = 34.0;
  sample.net_rx_percent = 58.0;
  sample.net_tx_percent = 34.0;
  if (config.metrics.disk_lamp) {
    sample.disks.push_back({std::string{}, 0.0, true, true});
    sample.lamp_lit = true;
  }
  return sample;
}

std::optional<PixelBuffer> preview_pixels(const Config& config, const ResolvedColors& colors, std::int32_t width,
                                          std::int32_t height, std::uint32_t dpi,
                                          std::optional<VerticalRotation> rotation, Rgb backdrop) {
  if (width < 1 || height < 1 || width > 4096 || height > 4096) return std::nullopt;
  // Lay the bars out in a strip as thick as a usual taskbar (48 at 96 DPI), across the middle
  // of the box, starting at its edge; no weather icon is shown.
  Config strip_config = config;
  strip_config.layout.anchor = Anchor::Left;
  strip_config.layout.offset_x = 0;
  strip_config.layout.offset_y = 0;
  strip_config.weather.enabled = false;
  const bool vertical = rotation.has_value();
  dpi = effective_dpi(dpi);
  const auto thickness =
      static_cast<std::int32_t>(std::min<std::int64_t>(48 * std::int64_t{dpi} / 96, vertical ? width : height));
  const Rect strip = vertical ? Rect{0, 0, thickness, height} : Rect{0, 0, width, thickness};
  const PlacementResult placed =
      compute_placement(strip_config, strip, dpi, config.metrics.items.size(), std::nullopt);
  const Placement& p = placed.placement;
  if (p.width < 1 || p.height < 1 || p.width > width || p.height > height) return std::nullopt;

  PixelBuffer bars(p.width, p.height);
  const MetricSample sample = preview_sample(config);
  rasterize(build_frame(strip_config, colors, sample, placed.geometry, p.width, p.height, dpi, kNoIcon,
                        rotation),
            bars.canvas());

  PixelBuffer picture(width, height);
  Canvas canvas = picture.canvas();
  const std::uint32_t opaque = premultiply(backdrop.r, backdrop.g, backdrop.b, 255);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) canvas.at(x, y) = opaque;
  }
  const std::int32_t left = (width - p.width) / 2;
  const std::int32_t top = (height - p.height) / 2;
  for (std::int32_t y = 0; y < p.height; ++y) {
    for (std::int32_t x = 0; x < p.width; ++x) {
      canvas.at(left + x, top + y) = blend_over(opaque, bars.at(x, y));
    }
  }
  return picture;
}

}  // namespace vessa
