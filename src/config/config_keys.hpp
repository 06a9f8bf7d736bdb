#pragma once
// The keys of config.toml: every table and key of the file in file order, each bound to its
// field of a Config. The reader, the canonical writer and the comparison all walk a Config
// through visit_config, and so does the test that holds docs/configuration.md to the same
// list: none of them keeps a key list of its own.
//
// A visitor offers `table(std::string_view name)`, called before the keys of each table, and
// `field(std::string_view key, T& value)` for every field type of Config (integers, bool,
// double, float, std::string, Rgb, the enumerations, std::optional and std::vector of them).
// `C` is Config or const Config.

#include "config/config.hpp"

namespace vessa {

template <typename C, typename Visitor>
void visit_config(C& config, Visitor& v) {
  auto& general = config.general;
  v.table("general");
  v.field("update_interval_ms", general.update_interval_ms);
  v.field("language", general.language);
  v.field("displays", general.displays);

  auto& behavior = config.behavior;
  v.table("behavior");
  v.field("attach_mode", behavior.attach_mode);
  v.field("fallback", behavior.fallback);
  v.field("tray_icon", behavior.tray_icon);
  v.field("reattach_check_ms", behavior.reattach_check_ms);

  auto& layout = config.layout;
  v.table("layout");
  v.field("anchor", layout.anchor);
  v.field("offset_x", layout.offset_x);
  v.field("offset_y", layout.offset_y);
  v.field("line_length", layout.line_length);
  v.field("min_line_thickness", layout.min_line_thickness);
  v.field("max_line_thickness", layout.max_line_thickness);
  v.field("band_height", layout.band_height);
  v.field("padding_x", layout.padding_x);
  v.field("padding_y", layout.padding_y);
  v.field("line_inset", layout.line_inset);
  v.field("show_track", layout.show_track);
  v.field("lamp_size", layout.lamp_size);
  v.field("vertical_rotation", layout.vertical_rotation);

  auto& appearance = config.appearance;
  v.table("appearance");
  v.field("color_scheme", appearance.color_scheme);
  v.field("color_family", appearance.color_family);
  v.field("background", appearance.background);
  v.field("track_color", appearance.track_color);
  v.field("cpu_color", appearance.cpu_color);
  v.field("memory_color", appearance.memory_color);
  v.field("disk_color", appearance.disk_color);
  v.field("net_rx_color", appearance.net_rx_color);
  v.field("net_tx_color", appearance.net_tx_color);
  v.field("net_overlap_color", appearance.net_overlap_color);
  v.field("gpu_color", appearance.gpu_color);
  v.field("disk_lamp_read_color", appearance.disk_lamp_read_color);
  v.field("disk_lamp_write_color", appearance.disk_lamp_write_color);
  v.field("disk_lamp_both_color", appearance.disk_lamp_both_color);
  v.field("background_alpha", appearance.background_alpha);
  v.field("track_alpha", appearance.track_alpha);
  v.field("line_alpha", appearance.line_alpha);
  v.field("tooltip_background", appearance.tooltip_background);
  v.field("tooltip_text_color", appearance.tooltip_text_color);
  v.field("tooltip_label_color", appearance.tooltip_label_color);
  v.field("tooltip_font_family", appearance.tooltip_font_family);
  v.field("tooltip_font_size_pt", appearance.tooltip_font_size_pt);
  v.field("tray_icon_color", appearance.tray_icon_color);

  auto& metrics = config.metrics;
  v.table("metrics");
  v.field("items", metrics.items);
  v.field("disk_instances", metrics.disk_instances);
  v.field("network_adapter", metrics.network_adapter);
  v.field("network_scale_mbps", metrics.network_scale_mbps);
  v.field("network_logarithmic", metrics.network_logarithmic);
  v.field("network_floor_bytes_per_sec", metrics.network_floor_bytes_per_sec);
  v.field("disk_logarithmic", metrics.disk_logarithmic);
  v.field("disk_log_strength", metrics.disk_log_strength);
  v.field("disk_lamp", metrics.disk_lamp);
  v.field("disk_lamp_threshold_bytes_per_sec", metrics.disk_lamp_threshold_bytes_per_sec);
  v.field("disk_lamp_hold_ms", metrics.disk_lamp_hold_ms);

  auto& weather = config.weather;
  v.table("weather");
  v.field("enabled", weather.enabled);
  v.field("location_mode", weather.location_mode);
  v.field("place_name", weather.place_name);
  v.field("latitude", weather.latitude);
  v.field("longitude", weather.longitude);
  v.field("temperature_unit", weather.temperature_unit);
  v.field("update_interval_minutes", weather.update_interval_minutes);
  v.field("icon_gap", weather.icon_gap);
  v.field("icon_trim", weather.icon_trim);
  v.field("icon_color", weather.icon_color);
}

}  // namespace vessa
