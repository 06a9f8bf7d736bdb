#pragma once
// The settings window's layout arithmetic as plain values. Every length is given at 96 DPI
// and scaled to the window's DPI on its own (n × dpi / 96, truncated); a few are fractions of
// the DPI itself (dpi / 8). The Win32 side measures the texts, asks PageFlow where each
// control goes and creates it there.

#include <cstddef>
#include <cstdint>

namespace vessa {

// A control's rectangle in client pixels.
struct ControlBox {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  [[nodiscard]] constexpr std::int32_t right() const noexcept { return x + width; }
  [[nodiscard]] constexpr std::int32_t bottom() const noexcept { return y + height; }
  friend constexpr bool operator==(const ControlBox&, const ControlBox&) = default;
};

// n at 96 DPI in pixels at `dpi`: 64-bit arithmetic, truncated toward zero, saturated to the
// 32-bit range. A DPI of 0 counts as 96.
[[nodiscard]] std::int32_t scale_length(std::int64_t n, std::uint32_t dpi) noexcept;
// dpi / divisor, truncated (dpi 0 counts as 96).
[[nodiscard]] std::int32_t dpi_fraction(std::uint32_t dpi, std::int32_t divisor) noexcept;

struct SettingsMetrics {
  std::uint32_t dpi = 96;
  std::int32_t margin_x = 0;        // x0: left edge of the labels and the tabs
  std::int32_t label_width = 0;     // the label column
  std::int32_t control_x = 0;       // x0 + label column
  std::int32_t control_width = 0;   // 190
  std::int32_t content_right = 0;   // control_x + control_width
  std::int32_t control_height = 0;  // 22
  std::int32_t combo_height = 0;    // 200, the drop-down's height
  std::int32_t label_offset = 0;    // dpi / 24, a label sits that much lower than its control
  std::int32_t row_step = 0;        // 27
  std::int32_t tab_y = 0;           // 14
  std::int32_t tab_height = 0;      // dpi / 3
  std::int32_t tab_padding = 0;     // dpi / 8 each side of a tab's text
  std::int32_t page_top = 0;        // 14 + 42
};

// `widest_label` is the widest of the row labels in the window's font.
[[nodiscard]] SettingsMetrics settings_metrics(std::uint32_t dpi, std::int32_t widest_label) noexcept;

// The three tabs side by side from the left margin, each as wide as its text plus padding.
[[nodiscard]] ControlBox tab_box(const SettingsMetrics& metrics, std::int32_t x, std::int32_t text_width) noexcept;

// Walks down one page, handing out the boxes of its rows in order.
class PageFlow {
 public:
  explicit PageFlow(const SettingsMetrics& metrics) noexcept : m_(metrics), y_(metrics.page_top) {}

  [[nodiscard]] std::int32_t y() const noexcept { return y_; }
  // The lowest edge of anything placed so far.
  [[nodiscard]] std::int32_t bottom() const noexcept { return bottom_; }

  struct LabelledRow {
    ControlBox label;
    ControlBox control;
  };
  // A label in the label column and a control in the control column (22 high, or a combo
  // box's drop-down height), then the next row 27 lower.
  LabelledRow labelled_row(bool combo = false) noexcept;
  // A section heading: 14 of space, the text 18 high, then dpi/4 to the next row.
  ControlBox heading(std::int32_t text_width) noexcept;
  // A check box 20 high, as wide as its text + 22 (at most to the content's right edge),
  // `indent` from the left margin; the next row dpi/4 lower.
  ControlBox check_box(std::int32_t text_width, std::int32_t indent = 0) noexcept;
  // Extra space between rows.
  void gap(std::int32_t length96) noexcept { y_ += scale_length(length96, m_.dpi); }
  // Moves down without placing anything (rows laid out by hand).
  void advance_to(std::int32_t y) noexcept;
  // Records a box placed by hand so that bottom() and the rightmost edge see it.
  void note(const ControlBox& box) noexcept;
  [[nodiscard]] std::int32_t rightmost() const noexcept { return rightmost_; }

 private:
  SettingsMetrics m_;
  std::int32_t y_ = 0;
  std::int32_t bottom_ = 0;
  std::int32_t rightmost_ = 0;
};

struct ButtonRow {
  ControlBox ok;
  ControlBox cancel;
  std::int32_t client_width = 0;
  std::int32_t client_height = 0;
};

// OK and Cancel 20 below the tallest page, Cancel ending dpi/8 right of the rightmost control,
// OK dpi/12 to its left; the client area reaches 14 beyond them to the right and below.
[[nodiscard]] ButtonRow button_row(const SettingsMetrics& metrics, std::int32_t tallest_page_bottom,
                                   std::int32_t rightmost_control) noexcept;

// The disk check list: one row of dpi/4 per entry plus 10 above and below.
[[nodiscard]] std::int32_t check_list_height(std::uint32_t dpi, std::size_t entries) noexcept;

}  // namespace vessa
