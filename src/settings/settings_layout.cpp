#include "settings/settings_layout.hpp"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "base/dpi.hpp"

namespace vessa {

namespace {

std::int32_t saturate(std::int64_t value) noexcept {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::int32_t scale_length(std::int64_t n, std::uint32_t dpi) noexcept {
  // n is a small layout constant or a measured text width; clamp it first so the product
  // cannot overflow whatever the DPI.
  const std::int64_t bounded = std::clamp<std::int64_t>(n, -(std::int64_t{1} << 31), std::int64_t{1} << 31);
  return saturate(bounded * effective_dpi(dpi) / 96);
}

std::int32_t dpi_fraction(std::uint32_t dpi, std::int32_t divisor) noexcept {
  if (divisor <= 0) return 0;
  return saturate(std::int64_t{effective_dpi(dpi)} / divisor);
}

SettingsMetrics settings_metrics(std::uint32_t dpi, std::int32_t widest_label) noexcept {
  SettingsMetrics m;
  m.dpi = effective_dpi(dpi);
  m.margin_x = saturate(std::int64_t{scale_length(14, dpi)} + dpi_fraction(dpi, 8));
  m.label_width =
      std::max(saturate(std::int64_t{std::max(widest_label, 0)} + dpi_fraction(dpi, 8)), scale_length(110, dpi));
  m.control_x = saturate(std::int64_t{m.margin_x} + m.label_width);
  m.control_width = scale_length(190, dpi);
  m.content_right = saturate(std::int64_t{m.control_x} + m.control_width);
  m.control_height = scale_length(22, dpi);
  m.combo_height = scale_length(200, dpi);
  m.label_offset = dpi_fraction(dpi, 24);
  m.row_step = scale_length(27, dpi);
  m.tab_y = scale_length(14, dpi);
  m.tab_height = dpi_fraction(dpi, 3);
  m.tab_padding = dpi_fraction(dpi, 8);
  m.page_top = saturate(std::int64_t{scale_length(14, dpi)} + scale_length(42, dpi));
  return m;
}

ControlBox tab_box(const SettingsMetrics& metrics, std::int32_t x, std::int32_t text_width) noexcept {
  return {x, metrics.tab_y, saturate(std::int64_t{std::max(text_width, 0)} + 2 * std::int64_t{metrics.tab_padding}),
          metrics.tab_height};
}

PageFlow::LabelledRow PageFlow::labelled_row(bool combo) noexcept {
  LabelledRow row;
  row.label = {m_.margin_x, saturate(std::int64_t{y_} + m_.label_offset), m_.label_width, m_.control_height};
  row.control = {m_.control_x, y_, m_.control_width, combo ? m_.combo_height : m_.control_height};
  note(row.label);
  note({row.control.x, row.control.y, row.control.width, m_.control_height});  // a closed combo's height
  y_ = saturate(std::int64_t{y_} + m_.row_step);
  return row;
}

ControlBox PageFlow::heading(std::int32_t text_width) noexcept {
  y_ = saturate(std::int64_t{y_} + scale_length(14, m_.dpi));
  const std::int64_t content_width = std::int64_t{m_.content_right} - m_.margin_x;
  const std::int64_t width =
      std::min<std::int64_t>(std::int64_t{std::max(text_width, 0)} + dpi_fraction(m_.dpi, 16), content_width);
  const ControlBox box{m_.margin_x, y_, saturate(std::max<std::int64_t>(width, 0)), scale_length(18, m_.dpi)};
  note(box);
  y_ = saturate(std::int64_t{y_} + box.height + dpi_fraction(m_.dpi, 4));
  return box;
}

ControlBox PageFlow::check_box(std::int32_t text_width, std::int32_t indent) noexcept {
  const std::int64_t x = std::int64_t{m_.margin_x} + std::max(indent, 0);
  const std::int64_t wanted = std::int64_t{std::max(text_width, 0)} + scale_length(22, m_.dpi);
  const std::int64_t width = std::max<std::int64_t>(0, std::min<std::int64_t>(wanted, m_.content_right - x));
  const ControlBox box{saturate(x), y_, saturate(width), scale_length(20, m_.dpi)};
  note(box);
  y_ = saturate(std::int64_t{y_} + dpi_fraction(m_.dpi, 4));
  return box;
}

void PageFlow::advance_to(std::int32_t y) noexcept { y_ = std::max(y_, y); }

void PageFlow::note(const ControlBox& box) noexcept {
  bottom_ = std::max(bottom_, saturate(std::int64_t{box.y} + box.height));
  rightmost_ = std::max(rightmost_, saturate(std::int64_t{box.x} + box.width));
}

ButtonRow button_row(const SettingsMetrics& metrics, std::int32_t tallest_page_bottom,
                     std::int32_t rightmost_control) noexcept {
  const std::uint32_t dpi = metrics.dpi;
  const std::int32_t width = scale_length(92, dpi);
  const std::int32_t height = scale_length(28, dpi);
  const std::int32_t top = saturate(std::int64_t{tallest_page_bottom} + scale_length(20, dpi));
  const std::int32_t cancel_right = saturate(std::int64_t{rightmost_control} + dpi_fraction(dpi, 8));
  ButtonRow row;
  row.cancel = {saturate(std::int64_t{cancel_right} - width), top, width, height};
  row.ok = {saturate(std::int64_t{row.cancel.x} - dpi_fraction(dpi, 12) - width), top, width, height};
  row.client_width = saturate(std::int64_t{cancel_right} + scale_length(14, dpi));
  row.client_height = saturate(std::int64_t{top} + height + scale_length(14, dpi));
  return row;
}

std::int32_t check_list_height(std::uint32_t dpi, std::size_t entries) noexcept {
  const std::int64_t count = static_cast<std::int64_t>(std::min<std::size_t>(entries, 1u << 20));
  return saturate(count * dpi_fraction(dpi, 4) + 2 * std::int64_t{scale_length(10, dpi)});
}

}  // namespace vessa
