#pragma once
// Collecting: the settings window's controls read back into a configuration. The Win32 side
// fills SettingsControlValues from the controls as they stand; collect_settings applies every
// limit and every "keep the previous value" rule to a copy of the working configuration. The
// preview and OK both go through here, so they can never disagree.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/config.hpp"
#include "config/rgb.hpp"
#include "settings/settings_model.hpp"

namespace vessa {

// A combo box's selection: the item index, or none (nothing selected). Indexes follow the
// enumerations' order (scheme, family, unit, language, orientation, area).
using ComboItem = std::optional<std::size_t>;

struct SettingsControlValues {
  ComboItem scheme;                 // 119
  ComboItem family;                 // 120
  Swatches swatches{};              // 300-304
  ComboItem temperature_unit;       // 121
  bool secondary_displays = false;  // 126
  ComboItem language;               // 100
  std::array<bool, 5> items{};      // 200-204: cpu, memory, disk, net, gpu
  std::vector<std::string> disk_choices;  // the disk list
  std::vector<bool> disk_selection;       // one flag per disk choice
  std::vector<std::string> adapters;      // the adapter list, without "All"
  ComboItem adapter;                      // 102: 0 "All", then the adapters
  std::string bar_width;                  // 103
  std::string update_interval;            // 104
  std::string band_height;                // 105
  std::string full_scale;                 // 111
  bool show_track = false;                // 108
  ComboItem vertical_rotation;            // 127
  bool disk_lamp = false;                 // 109
  std::array<Rgb, 3> lamp_colors{};       // read, write, both
  bool weather_enabled = false;           // 110
  ComboItem location_mode;                // 113
  std::string place_name;                 // 114
  std::string coordinates;                // 117
};

// `band_limit` is the bar-area limit, none when there is no taskbar.
[[nodiscard]] Config collect_settings(const Config& working, const SettingsControlValues& values,
                                      std::optional<std::int32_t> band_limit);

// The numbers of the edit boxes, read after trimming white space; none when the text is not
// a whole number of the type (or a finite real for full scale).
[[nodiscard]] std::optional<std::int32_t> read_int32(std::string_view text) noexcept;
[[nodiscard]] std::optional<std::uint32_t> read_uint32(std::string_view text) noexcept;
[[nodiscard]] std::optional<double> read_real(std::string_view text) noexcept;

struct EnteredCoordinates {
  double latitude = 0.0;
  double longitude = 0.0;
};
// "35.6895, 139.6917": split at the first comma; both parts finite, |latitude| ≤ 90 and
// |longitude| ≤ 180.
[[nodiscard]] std::optional<EnteredCoordinates> read_coordinates(std::string_view text) noexcept;

}  // namespace vessa
