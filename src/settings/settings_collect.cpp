#include "settings/settings_collect.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "config/colors.hpp"
#include "metrics/counter_text.hpp"

namespace vessa {

namespace {

template <typename Number>
std::optional<Number> read_whole(std::string_view text) noexcept {
  text = trim_space(text);
  if (text.empty()) return std::nullopt;
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Sets `target` to the enumeration value of a combo item that exists; keeps it otherwise.
template <typename Enum>
void take_item(Enum& target, const ComboItem& item) noexcept {
  if (item.has_value() && *item < enum_count<Enum>) target = static_cast<Enum>(*item);
}

}  // namespace

std::optional<std::int32_t> read_int32(std::string_view text) noexcept { return read_whole<std::int32_t>(text); }

std::optional<std::uint32_t> read_uint32(std::string_view text) noexcept { return read_whole<std::uint32_t>(text); }

std::optional<double> read_real(std::string_view text) noexcept {
  text = trim_space(text);
  if (text.empty()) return std::nullopt;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<EnteredCoordinates> read_coordinates(std::string_view text) noexcept {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::optional<double> latitude = read_real(text.substr(0, comma));
  const std::optional<double> longitude = read_real(text.substr(comma + 1));
  if (!latitude || !longitude) return std::nullopt;
  if (std::fabs(*latitude) > 90.0 || std::fabs(*longitude) > 180.0) return std::nullopt;
  return EnteredCoordinates{*latitude, *longitude};
}

Config collect_settings(const Config& working, const SettingsControlValues& values,
                        std::optional<std::int32_t> band_limit) {
  Config config = working;

  Appearance& appearance = config.appearance;
  take_item(appearance.color_scheme, values.scheme);
  take_item(appearance.color_family, values.family);
  if (appearance.color_scheme == ColorScheme::Custom) {
    appearance.cpu_color = values.swatches[0];
    appearance.memory_color = values.swatches[1];
    appearance.disk_color = values.swatches[2];
    appearance.net_rx_color = values.swatches[3];
    appearance.gpu_color = values.swatches[4];
    appearance.net_tx_color = darken_color(values.swatches[3]);
    appearance.net_overlap_color = lighten_color(values.swatches[3]);
  }

  take_item(config.weather.temperature_unit, values.temperature_unit);
  config.general.displays = values.secondary_displays ? Displays::All : Displays::Primary;
  take_item(config.general.language, values.language);

  std::vector<MetricKind> items;
  for (std::size_t i = 0; i < values.items.size(); ++i) {
    if (values.items[i]) items.push_back(static_cast<MetricKind>(i));
  }
  if (!items.empty()) config.metrics.items = std::move(items);

  config.metrics.disk_instances = selected_disks(values.disk_choices, values.disk_selection);

  if (values.adapter.has_value()) {
    const std::size_t item = *values.adapter;
    if (item == 0) {
      config.metrics.network_adapter.clear();
    } else if (item <= values.adapters.size()) {
      config.metrics.network_adapter = values.adapters[item - 1];
    }
  }

  if (const auto width = read_int32(values.bar_width)) config.layout.line_length = std::max(*width, 8);
  if (const auto interval = read_uint32(values.update_interval)) {
    config.general.update_interval_ms = std::max<std::uint32_t>(*interval, 100);
  }
  if (const auto band = read_int32(values.band_height)) {
    const std::int32_t upper = band_limit.has_value() ? std::max(*band_limit, 1) : *band;
    config.layout.band_height = std::clamp(*band, 1, std::max(upper, 1));
  }
  if (const auto scale = read_real(values.full_scale); scale && *scale > 0.0) {
    config.metrics.network_scale_mbps = *scale;
  }

  config.layout.show_track = values.show_track;
  take_item(config.layout.vertical_rotation, values.vertical_rotation);
  config.metrics.disk_lamp = values.disk_lamp;
  appearance.disk_lamp_read_color = values.lamp_colors[0];
  appearance.disk_lamp_write_color = values.lamp_colors[1];
  appearance.disk_lamp_both_color = values.lamp_colors[2];
  config.weather.enabled = values.weather_enabled;
  take_item(config.weather.location_mode, values.location_mode);

  config.weather.place_name = values.place_name;

  if (const auto coordinates = read_coordinates(values.coordinates)) {
    config.weather.latitude = coordinates->latitude;
    config.weather.longitude = coordinates->longitude;
  }
  return config;
}

}  // namespace vessa
