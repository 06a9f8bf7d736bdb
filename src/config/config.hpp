#pragma once
// Config: every user setting, each with its default. It is both the in-memory model every
// subsystem reads and the schema of config.toml: each section is a table of the file and
// each field a key, in the order declared here. A Config is a plain value; copying it copies
// everything and it refers to nothing outside itself.
//
// Values are stored as read, without clamping: the code that uses a value enforces the range
// that matters to it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/enums.hpp"
#include "config/rgb.hpp"

namespace vessa {

struct General {
  std::uint32_t update_interval_ms = 2000;
  Language language = Language::Auto;
  Displays displays = Displays::Primary;

  friend bool operator==(const General&, const General&) = default;
};

struct Behavior {
  AttachMode attach_mode = AttachMode::Overlay;
  bool fallback = true;
  bool tray_icon = true;
  std::uint32_t reattach_check_ms = 5000;

  friend bool operator==(const Behavior&, const Behavior&) = default;
};

// Lengths are pixels at 96 DPI.
struct Layout {
  Anchor anchor = Anchor::TrayLeft;
  std::int32_t offset_x = 8;
  std::int32_t offset_y = 3;
  std::int32_t line_length = 64;
  std::int32_t min_line_thickness = 1;
  std::int32_t max_line_thickness = 2;
  std::int32_t band_height = 32;
  std::int32_t padding_x = 8;
  std::int32_t padding_y = 3;
  std::int32_t line_inset = 5;
  bool show_track = true;
  std::int32_t lamp_size = 4;
  VerticalRotation vertical_rotation = VerticalRotation::Clockwise;

  friend bool operator==(const Layout&, const Layout&) = default;
};

struct Appearance {
  ColorScheme color_scheme = ColorScheme::Standard;
  ColorFamily color_family = ColorFamily::Blue;
  Rgb background = rgb_hex(0x202020);
  Rgb track_color = rgb_hex(0x3A3A3A);
  Rgb cpu_color = rgb_hex(0x47A8D8);
  Rgb memory_color = rgb_hex(0x3B5FB0);
  Rgb disk_color = rgb_hex(0x93C13D);
  Rgb net_rx_color = rgb_hex(0xD6538A);
  Rgb net_tx_color = rgb_hex(0x8F385C);
  Rgb net_overlap_color = rgb_hex(0xEFA6C6);
  Rgb gpu_color = rgb_hex(0xA05FC0);
  Rgb disk_lamp_read_color = rgb_hex(0x60A96C);
  Rgb disk_lamp_write_color = rgb_hex(0xBE6660);
  Rgb disk_lamp_both_color = rgb_hex(0xD9A441);
  std::uint8_t background_alpha = 0;
  std::uint8_t track_alpha = 64;
  std::uint8_t line_alpha = 255;
  Rgb tooltip_background = rgb_hex(0x2B2B2B);
  Rgb tooltip_text_color = rgb_hex(0xF0F0F0);
  Rgb tooltip_label_color = rgb_hex(0xB4B4B4);
  std::string tooltip_font_family = "Segoe UI";
  float tooltip_font_size_pt = 9.0f;
  std::optional<Rgb> tray_icon_color;

  friend bool operator==(const Appearance&, const Appearance&) = default;
};

struct Metrics {
  std::vector<MetricKind> items = {MetricKind::Cpu, MetricKind::Memory, MetricKind::Disk, MetricKind::Net};
  std::vector<std::string> disk_instances;
  std::string network_adapter;
  double network_scale_mbps = 100.0;
  bool network_logarithmic = true;
  double network_floor_bytes_per_sec = 1024.0;
  bool disk_logarithmic = true;
  double disk_log_strength = 49.0;
  bool disk_lamp = true;
  double disk_lamp_threshold_bytes_per_sec = 262144.0;
  std::uint64_t disk_lamp_hold_ms = 1500;

  friend bool operator==(const Metrics&, const Metrics&) = default;
};

struct Weather {
  bool enabled = false;
  LocationMode location_mode = LocationMode::Auto;
  std::string place_name;
  std::optional<double> latitude;
  std::optional<double> longitude;
  TemperatureUnit temperature_unit = TemperatureUnit::Celsius;
  std::uint32_t update_interval_minutes = 10;
  std::int32_t icon_gap = 8;
  std::int32_t icon_trim = 2;
  Rgb icon_color = rgb_hex(0xE8E8E8);

  friend bool operator==(const Weather&, const Weather&) = default;
};

struct Config {
  General general;
  Behavior behavior;
  Layout layout;
  Appearance appearance;
  Metrics metrics;
  Weather weather;

  // Field-by-field; a NaN real never equals anything, as floating-point comparison says.
  friend bool operator==(const Config&, const Config&) = default;
};

// Weather is fetched only when it is enabled and both coordinates are set.
[[nodiscard]] inline bool weather_fetch_configured(const Weather& weather) noexcept {
  return weather.enabled && weather.latitude.has_value() && weather.longitude.has_value();
}

}  // namespace vessa
