#pragma once
// The settings window's lists and choices as plain values: the disk list and its selection,
// the adapter list, the lamp-colour presets, the swatch colours of each scheme, the bar-area
// limit, the texts shown in labels and fields, and the fixed figures the preview draws.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/colors.hpp"
#include "config/config.hpp"
#include "metrics/sample.hpp"
#include "render/canvas.hpp"
#include "settings/ui_text.hpp"

namespace vessa {

// --- Disks and adapters -----------------------------------------------------------------------

inline constexpr std::string_view kAllDisksInstance = "_Total";

// "_Total" first, then the LogicalDisk instances that are exactly a letter and a colon
// ("C:"), sorted, each once.
[[nodiscard]] std::vector<std::string> disk_choices(const std::vector<std::string>& logical_disk_instances);

// One flag per entry of `choices`: selected when it equals, ignoring ASCII case, a trimmed
// non-empty configured instance. When none is, the first entry ("All") is.
[[nodiscard]] std::vector<bool> disk_selection(const std::vector<std::string>& choices,
                                               const std::vector<std::string>& disk_instances);

// What `disk_instances` becomes: nothing when "All" (entry 0) or no entry is selected,
// otherwise the selected names in list order.
[[nodiscard]] std::vector<std::string> selected_disks(const std::vector<std::string>& choices,
                                                      const std::vector<bool>& selection);

// The disk button's text: the selected names joined by ", " ("All" when "All" or nothing is
// selected), then two blanks and a down triangle.
[[nodiscard]] std::string disk_button_text(const std::vector<std::string>& choices,
                                           const std::vector<bool>& selection, const TextTable& texts);

// The adapter names, sorted, each once.
[[nodiscard]] std::vector<std::string> adapter_choices(std::vector<std::string> network_instances);

// The adapter combo's item for the configured name: 1 + the index of the adapter equal to the
// trimmed name, else 0 ("All").
[[nodiscard]] std::size_t adapter_item(const std::vector<std::string>& adapters, std::string_view configured);

// --- Lamp colours -----------------------------------------------------------------------------

enum class LampSlot : std::uint8_t { Read, Write, Both };
inline constexpr std::size_t kLampPresetCount = 6;

[[nodiscard]] const std::array<Rgb, kLampPresetCount>& lamp_presets(LampSlot slot) noexcept;

// The preset equal to `color`, otherwise the fourth (read) or third (write, both).
[[nodiscard]] std::size_t lamp_preset_item(LampSlot slot, Rgb color) noexcept;

// --- Colour swatches --------------------------------------------------------------------------

// Processor, memory, disk, receive, graphics.
using Swatches = std::array<Rgb, 5>;

// The swatches as the bars of `appearance` are coloured now.
[[nodiscard]] Swatches swatches_of(const Appearance& appearance, bool dark_taskbar);

// The swatches after the scheme or family changes: the scheme's own colours, or for "custom"
// the swatches as they were.
[[nodiscard]] Swatches swatches_for_scheme(ColorScheme scheme, ColorFamily family, bool dark_taskbar,
                                           const Swatches& current);

// --- Limits and texts -------------------------------------------------------------------------

// The tallest bar area the primary taskbar holds: its shorter side at 96 DPI less twice the
// vertical padding, at least 1. None without a taskbar.
struct TaskbarExtent {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint32_t dpi = 96;
};
[[nodiscard]] std::optional<std::int32_t> bar_area_limit(const std::optional<TaskbarExtent>& taskbar,
                                                         std::int32_t padding_y) noexcept;

// "Bar width (px)".
[[nodiscard]] std::string label_with_unit(std::string_view label, std::string_view unit);
// "Bar area height (px)" or, with a limit, "Bar area height (px, max 40)".
[[nodiscard]] std::string bar_area_label(const TextTable& texts, std::optional<std::int32_t> limit);

// Both coordinates with four decimals joined by ", "; empty unless both are set.
[[nodiscard]] std::string configured_coordinates_text(std::optional<double> latitude, std::optional<double> longitude);

// Whether ticking "Show weather icon" asks for the device's position, as choosing the automatic
// area does: with the automatic area chosen and no place yet, OK would otherwise save a weather
// icon that has nothing to fetch for.
[[nodiscard]] bool weather_tick_locates_device(bool ticked, bool automatic_area, const Weather& weather) noexcept;

// The shortest decimal text that reads back as `value` ("100", "2.5").
[[nodiscard]] std::string shortest_number_text(double value);

// --- Theme --------------------------------------------------------------------------------

// The visual theme a control of window class `class_name` takes: on a dark palette
// "DarkMode_CFD" for edit boxes and combo boxes and "DarkMode_Explorer" for every other
// control; none (the default theme) on a light one.
[[nodiscard]] std::optional<std::string_view> control_theme(std::string_view class_name, bool dark) noexcept;

// --- Preview --------------------------------------------------------------------------------

// The fixed figures the preview and its sample tooltip show for `config`.
[[nodiscard]] MetricSample preview_sample(const Config& config);

// The preview's picture: `width` × `height` opaque pixels of `backdrop` with the bars of
// `config` drawn by the bar renderer over them, centred, as they would sit in a taskbar strip
// of that length at `dpi` (turned when `rotation` is given). None when there is no room.
[[nodiscard]] std::optional<PixelBuffer> preview_pixels(const Config& config, const ResolvedColors& colors,
                                                        std::int32_t width, std::int32_t height, std::uint32_t dpi,
                                                        std::optional<VerticalRotation> rotation, Rgb backdrop);

}  // namespace vessa
