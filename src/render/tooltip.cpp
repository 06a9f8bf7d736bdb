#include "render/tooltip.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/utf.hpp"
#include "metrics/counter_text.hpp"
#include "render/saturating.hpp"

namespace vessa {
namespace {

// Fixed notation with `digits` after the point. std::to_chars rounds the exact binary value
// to nearest, ties to even, whatever the C runtime's printf would do. A value that rounds to
// zero is written without a sign: -0.4 °C reads "0", not "-0".
std::string fixed(double x, int digits) {
  if (std::isnan(x)) x = 0.0;
  std::array<char, 400> buffer{};  // enough for the largest double in fixed notation
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x, std::chars_format::fixed, digits);
  if (result.ec != std::errc()) return {};
  std::string text(buffer.data(), result.ptr);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

bool is_ascii_letter(char c) noexcept { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool is_drive_name(std::string_view text) noexcept {
  return text.size() == 2 && is_ascii_letter(text[0]) && text[1] == ':';
}

std::string percent_text(double percent) { return dec0(percent) + "%"; }

TooltipRow metric_row(std::string_view text, std::string value, std::string value_template, Rgb swatch) {
  return TooltipRow{std::string(text), std::move(value), std::string(text), std::move(value_template), swatch};
}

// The longest condition name, by characters (the first of equals).
std::string_view longest_condition_name(const TooltipTexts& texts) {
  std::string_view longest;
  std::size_t longest_length = 0;
  for (const std::string_view name : texts.conditions) {
    const std::size_t length = utf8_length(name);
    if (length > longest_length) {
      longest = name;
      longest_length = length;
    }
  }
  return longest;
}

TooltipRow weather_row(const WeatherReading& reading, const TooltipTexts& texts, TemperatureUnit unit) {
  const bool fahrenheit = unit == TemperatureUnit::Fahrenheit;
  const double t = fahrenheit ? reading.temperature * 9.0 / 5.0 + 32.0 : reading.temperature;
  const std::string_view unit_text = fahrenheit ? "°F" : "°C";
  const std::string rain = std::string(texts.rain);
  const std::string temperature = std::string(texts.temperature);
  const std::string temperature_part = temperature + ": " + dec0(t) + std::string(unit_text);

  TooltipRow row;
  row.label = std::string(texts.conditions[static_cast<std::size_t>(condition_from_code(reading.weather_code))]);
  row.label_template = std::string(longest_condition_name(texts));
  if (reading.precipitation_probability) {
    row.value = rain + ": " + std::to_string(unsigned{*reading.precipitation_probability}) + "%  " + temperature_part;
  } else {
    row.value = temperature_part;
  }
  row.value_template = rain + ": 100%  " + temperature + ": -99" + std::string(unit_text);
  return row;
}

}  // namespace

std::string dec0(double x) { return fixed(x, 0); }
std::string dec1(double x) { return fixed(x, 1); }
std::string dec2(double x) { return fixed(x, 2); }

std::string format_rate(double bytes_per_sec) {
  // NaN counts as nothing, like a negative rate.
  double x = (std::isnan(bytes_per_sec) || bytes_per_sec < 0.0) ? 0.0 : bytes_per_sec;
  static constexpr std::array<std::string_view, 4> kUnits = {"B/s", "KB/s", "MB/s", "GB/s"};
  std::size_t unit = 0;
  while (x >= 1024.0 && unit < 3) {
    x /= 1024.0;
    ++unit;
  }
  std::string number;
  if (unit == 0) {
    number = dec0(x);
  } else {
    number = x < 100.0 ? dec1(x) : dec0(x);
  }
  return number + " " + std::string(kUnits[unit]);
}

std::vector<std::string> tooltip_drive_names(const std::vector<std::string>& disk_instances,
                                             const std::vector<std::string>& all_drive_letters) {
  std::vector<std::string_view> entries;
  for (const std::string& instance : disk_instances) {
    const std::string_view trimmed = trim_space(instance);  // as the sampler's disk filter does
    if (!trimmed.empty()) entries.push_back(trimmed);
  }
  if (entries.empty()) entries.push_back("_Total");
  if (std::find(entries.begin(), entries.end(), std::string_view("_Total")) != entries.end()) {
    return all_drive_letters;
  }
  std::vector<std::string> names;
  for (const std::string_view entry : entries) {
    if (is_drive_name(entry)) names.emplace_back(entry);
  }
  return names;
}

std::string drive_root_path(std::string_view name) {
  std::string path(name);
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::vector<DriveUsage> query_drive_usage(const std::vector<std::string>& names, const FreeSpaceQuery& query) {
  std::vector<DriveUsage> drives;
  for (const std::string& name : names) {
    const std::optional<DriveSpace> space = query(drive_root_path(name));
    if (space && space->total_bytes != 0) drives.push_back(DriveUsage{name, space->free_bytes, space->total_bytes});
  }
  return drives;
}

bool DriveUsageCache::due(TimePoint now) const noexcept {
  if (!filled_at_) return true;
  if (now < *filled_at_) return false;  // the clock went backwards: not yet
  return now - *filled_at_ >= kMaxAge;
}

const std::vector<DriveUsage>& DriveUsageCache::refresh(TimePoint now,
                                                        const std::function<std::vector<DriveUsage>()>& fill) {
  if (due(now)) {
    drives_ = fill();
    filled_at_ = now;
  }
  return drives_;
}

double drive_used_percent(const DriveUsage& drive) noexcept {
  if (drive.total_bytes == 0) return 0.0;
  const std::uint64_t used = drive.free_bytes > drive.total_bytes ? 0 : drive.total_bytes - drive.free_bytes;
  return static_cast<double>(used) * 100.0 / static_cast<double>(drive.total_bytes);
}

DiskText disk_text(const std::vector<DriveUsage>& drives, double busy_percent, const TooltipTexts& texts) {
  const std::string load = std::string(texts.load) + ": ";
  DiskText result;
  if (drives.empty()) {
    result.text = load + percent_text(busy_percent);
    result.template_text = load + "100%";
    return result;
  }
  if (drives.size() == 1) {
    const std::string used = std::string(texts.used) + ": ";
    result.text = used + percent_text(drive_used_percent(drives.front())) + "  " + load + percent_text(busy_percent);
    result.template_text = used + "100%  " + load + "100%";
    return result;
  }
  for (const DriveUsage& drive : drives) {
    result.text += drive.name + " " + percent_text(drive_used_percent(drive)) + "  ";
    result.template_text += drive.name + " 100%  ";
  }
  result.text += load + percent_text(busy_percent);
  result.template_text += load + "100%";
  return result;
}

std::vector<TooltipRow> build_tooltip_rows(const TooltipInputs& in) {
  const MetricSample& sample = in.sample;
  std::vector<TooltipRow> rows;
  for (const BarValue& bar : sample.bars) {
    switch (bar.kind) {
      case MetricKind::Cpu:
        if (sample.cpu_mhz) {
          const double ghz = std::max(*sample.cpu_mhz / 1000.0, 0.0);
          rows.push_back(metric_row(in.texts.cpu, dec2(ghz) + " GHz  " + percent_text(bar.percent),
                                    "9.99 GHz  100%", in.colors.cpu));
        } else {
          rows.push_back(metric_row(in.texts.cpu, percent_text(bar.percent), "100%", in.colors.cpu));
        }
        break;
      case MetricKind::Memory:
        rows.push_back(metric_row(in.texts.memory, percent_text(bar.percent), "100%", in.colors.memory));
        break;
      case MetricKind::Disk:
        rows.push_back(metric_row(in.texts.disk, in.disk.text, in.disk.template_text, in.colors.disk));
        break;
      case MetricKind::Net:
        rows.push_back(metric_row(in.texts.receive, format_rate(sample.net_rx_bytes_per_sec), "999 GB/s",
                                  in.colors.net_rx));
        rows.push_back(metric_row(in.texts.send, format_rate(sample.net_tx_bytes_per_sec), "999 GB/s",
                                  in.colors.net_tx));
        break;
      case MetricKind::Gpu:
        rows.push_back(metric_row(in.texts.gpu, percent_text(bar.percent), "100%", in.colors.gpu));
        break;
    }
  }
  if (sample.disks.size() >= 2) {
    for (const DiskLamp& disk : sample.disks) {
      rows.push_back(metric_row(disk.label, format_rate(disk.bytes_per_sec), "999 GB/s", in.colors.disk));
    }
  }
  if (in.weather) rows.push_back(weather_row(*in.weather, in.texts, in.temperature_unit));
  return rows;
}

std::int32_t tooltip_font_height(float points, std::uint32_t dpi) noexcept {
  const float exact = points * static_cast<float>(dpi) / 72.0f;
  if (!(exact >= 1.0f)) return 1;  // also NaN
  if (exact >= 10000.0f) return 10000;
  return static_cast<std::int32_t>(std::round(exact));
}

ColumnWidths measure_columns(const std::vector<TooltipRow>& rows, const TextMeasurer& measure) {
  ColumnWidths widths;
  for (const TooltipRow& row : rows) {
    widths.label = std::max<std::int64_t>(widths.label, measure(row.label_template));
    widths.value = std::max<std::int64_t>(widths.value, measure(row.value_template));
  }
  return widths;
}

TooltipSize tooltip_size(const TooltipMetrics& m, std::uint32_t dpi, ColumnWidths columns,
                         std::size_t row_count) noexcept {
  const auto s = [dpi](std::int32_t v) { return sat::scaled(v, dpi); };
  // Column widths are measured pixels (at most int32 each), so the sum fits in 64 bits.
  const std::int64_t label = std::clamp<std::int64_t>(columns.label, 0, std::numeric_limits<std::int32_t>::max());
  const std::int64_t value = std::clamp<std::int64_t>(columns.value, 0, std::numeric_limits<std::int32_t>::max());
  const std::int64_t width = s(m.swatch_gap) + s(m.column_gap) + label + value + s(m.swatch_width) + 2 * s(m.padding_x);
  const std::int64_t rows = static_cast<std::int64_t>(std::min<std::size_t>(row_count, 1u << 20));
  const std::int64_t height = s(m.row_height) * rows + 2 * s(m.padding_y);
  return TooltipSize{sat::to_i32(width), sat::to_i32(height)};
}

ScreenPoint tooltip_position(const Rect& monitor, const Placement& anchor, TooltipSize size, std::uint32_t dpi,
                             bool vertical) noexcept {
  const std::int64_t left = monitor.left;
  const std::int64_t top = monitor.top;
  const std::int64_t right = monitor.right;
  const std::int64_t bottom = monitor.bottom;
  const std::int64_t width = size.width;
  const std::int64_t height = size.height;
  const std::int64_t gap = dpi / 16;
  const std::int64_t max_x = std::max(left, right - width);
  const std::int64_t max_y = std::max(top, bottom - height);
  const std::int64_t ax = anchor.x;
  const std::int64_t ay = anchor.y;
  const std::int64_t aw = anchor.width;
  const std::int64_t ah = anchor.height;

  std::int64_t x = 0;
  std::int64_t y = 0;
  if (vertical) {
    const std::int64_t room_right = right - (ax + aw);
    const std::int64_t room_left = ax - left;
    x = room_right < room_left ? ax - width - gap : ax + aw + gap;
    y = ay + (ah - height) / 2;
    x = std::clamp(x, left, max_x);
    y = std::clamp(y, top, max_y);
  } else {
    x = std::clamp(ax + (aw - width) / 2, left, max_x);
    y = ay - gap - height;
    if (y < top) y = std::min(max_y, ay + ah + gap);
  }
  return ScreenPoint{sat::to_i32(x), sat::to_i32(y)};
}

}  // namespace vessa
