#pragma once
// The tooltip's content and layout as plain values: the rows it lists, the number texts, the
// drives' usage with its ten-second cache, and the window's size and position. The Win32 side
// (tooltip_win.hpp) measures texts, owns the window and paints these rows.

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/colors.hpp"
#include "config/enums.hpp"
#include "config/rgb.hpp"
#include "metrics/sample.hpp"
#include "render/geometry.hpp"
#include "weather/weather_reading.hpp"

namespace vessa {

struct TooltipRow {
  std::string label;
  std::string value;  // drawn right-aligned
  std::string label_template;  // measured for the label column's width
  std::string value_template;  // measured for the value column's width
  std::optional<Rgb> swatch;   // the small bar before the label; none for the weather row

  friend bool operator==(const TooltipRow&, const TooltipRow&) = default;
};

// The words the tooltip shows, in the user's language; the text table fills them.
struct TooltipTexts {
  std::string_view cpu, memory, disk, receive, send, gpu;  // the rows' labels
  std::string_view used, load;  // in the disk text
  std::string_view rain, temperature;  // in the weather row
  std::array<std::string_view, kWeatherConditionCount> conditions;  // by WeatherCondition
};

// The tooltip's lengths, in pixels at 96 DPI.
struct TooltipMetrics {
  std::int32_t padding_x = 12;
  std::int32_t padding_y = 9;
  std::int32_t row_height = 19;
  std::int32_t swatch_width = 14;
  std::int32_t swatch_height = 3;
  std::int32_t swatch_gap = 8;  // between swatch and label
  std::int32_t column_gap = 24;  // between the label and value columns

  friend bool operator==(const TooltipMetrics&, const TooltipMetrics&) = default;
};

// --- Number texts ---------------------------------------------------------------------------

// x with exactly 0, 1 or 2 digits after the point, rounded to nearest with ties to even on
// the exact binary value (0.125 gives 0.12, 2.5 gives 2). NaN counts as 0.
[[nodiscard]] std::string dec0(double x);
[[nodiscard]] std::string dec1(double x);
[[nodiscard]] std::string dec2(double x);

// "512 B/s", "1.5 KB/s", "123 MB/s": 1024-based steps up to GB/s.
[[nodiscard]] std::string format_rate(double bytes_per_sec);

// --- Drive usage ----------------------------------------------------------------------------

struct DriveUsage {
  std::string name;  // "C:"
  std::uint64_t free_bytes = 0;  // available to the caller
  std::uint64_t total_bytes = 0;

  friend bool operator==(const DriveUsage&, const DriveUsage&) = default;
};

struct DriveSpace {
  std::uint64_t free_bytes = 0;
  std::uint64_t total_bytes = 0;
};

// Asks the system about one drive root ("C:\"); none when the query fails.
using FreeSpaceQuery = std::function<std::optional<DriveSpace>(const std::string& root_path)>;

// The drives the tooltip lists: the configured disk instances (trimmed, blanks dropped, else
// "_Total"); "_Total" exactly stands for every drive letter found at start-up; otherwise
// the entries that are one ASCII letter and a colon, in order.
[[nodiscard]] std::vector<std::string> tooltip_drive_names(const std::vector<std::string>& disk_instances,
                                                           const std::vector<std::string>& all_drive_letters);

// "C:" -> "C:\"; a name already ending in "\" stays as it is.
[[nodiscard]] std::string drive_root_path(std::string_view name);

// Drives whose query succeeds with a non-zero total, in order.
[[nodiscard]] std::vector<DriveUsage> query_drive_usage(const std::vector<std::string>& names,
                                                        const FreeSpaceQuery& query);

// The drives' usage, queried again at most every ten seconds of monotonic time.
class DriveUsageCache {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  static constexpr std::chrono::seconds kMaxAge{10};

  // Never filled, or at least ten seconds since the last fill. A clock that went backwards
  // counts as not yet.
  [[nodiscard]] bool due(TimePoint now) const noexcept;
  // Calls `fill` when due and keeps its result with `now`; returns the cached list.
  const std::vector<DriveUsage>& refresh(TimePoint now, const std::function<std::vector<DriveUsage>()>& fill);
  [[nodiscard]] const std::vector<DriveUsage>& drives() const noexcept { return drives_; }

 private:
  std::vector<DriveUsage> drives_;
  std::optional<TimePoint> filled_at_;
};

// Per-cent of a drive in use; free space above the total counts as nothing used.
[[nodiscard]] double drive_used_percent(const DriveUsage& drive) noexcept;

struct DiskText {
  std::string text;
  std::string template_text;  // the same with every figure at 100

  friend bool operator==(const DiskText&, const DiskText&) = default;
};

// "Load: 12%", "Used: 45%  Load: 12%" or "C: 45%  D: 80%  Load: 12%".
[[nodiscard]] DiskText disk_text(const std::vector<DriveUsage>& drives, double busy_percent, const TooltipTexts& texts);

// --- Rows -----------------------------------------------------------------------------------

struct TooltipInputs {
  const MetricSample& sample;
  const ResolvedColors& colors;
  const DiskText& disk;
  const std::optional<WeatherReading>& weather;
  const TooltipTexts& texts;
  TemperatureUnit temperature_unit = TemperatureUnit::Celsius;
};

// One row per bar in bar order (two for the network), one per physical disk when there are
// at least two, and the weather last when a reading exists.
[[nodiscard]] std::vector<TooltipRow> build_tooltip_rows(const TooltipInputs& inputs);

// --- Size and position ------------------------------------------------------------------------

// The font's pixel height: points * dpi / 72 in single precision, halves away from zero, at
// least 1 (and at most 10000, so that no request overflows).
[[nodiscard]] std::int32_t tooltip_font_height(float points, std::uint32_t dpi) noexcept;

// A text's width in pixels with the tooltip's font.
using TextMeasurer = std::function<std::int32_t(std::string_view text)>;

struct ColumnWidths {
  std::int64_t label = 0;
  std::int64_t value = 0;
};
// The widest label template and the widest value template.
[[nodiscard]] ColumnWidths measure_columns(const std::vector<TooltipRow>& rows, const TextMeasurer& measure);

struct TooltipSize {
  std::int32_t width = 0;
  std::int32_t height = 0;

  friend bool operator==(const TooltipSize&, const TooltipSize&) = default;
};

// Each length scaled by dpi / 96 on its own (truncated), then summed; saturates at int32.
[[nodiscard]] TooltipSize tooltip_size(const TooltipMetrics& metrics, std::uint32_t dpi, ColumnWidths columns,
                                       std::size_t row_count) noexcept;

struct ScreenPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;

  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Where the tooltip goes on `monitor` (the whole monitor): beside a vertical taskbar on the
// side with more room, else centred above the anchor, or below it when there is no room above.
[[nodiscard]] ScreenPoint tooltip_position(const Rect& monitor, const Placement& anchor, TooltipSize size,
                                           std::uint32_t dpi, bool vertical) noexcept;

}  // namespace vessa
