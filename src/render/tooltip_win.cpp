#include "render/tooltip_win.hpp"

#include <dwmapi.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <memory>
#include <string>

#include "base/lazy_library_win.hpp"
#include "base/unique_handle_win.hpp"
#include "base/window_win.hpp"
#include "base/wide_win.hpp"
#include "render/gdi_win.hpp"
#include "render/saturating.hpp"

namespace vessa {
// What the window needs to paint itself; owned by the window object.
struct TooltipPaintData {
  struct Row {
    std::wstring label;
    std::wstring value;
    std::optional<Rgb> swatch;
  };
  std::vector<Row> rows;
  UniqueHfont font;
  TooltipMetrics metrics;
  std::uint32_t dpi = 96;
  Rgb background;
  Rgb text_color;
  Rgb label_color;
};

namespace {

// DWM is needed only once the tooltip first shows, so it is loaded then.
LazyLibrary g_dwmapi(L"dwmapi.dll");
LazyFunction<decltype(DwmSetWindowAttribute)> dwm_set_window_attribute(g_dwmapi, "DwmSetWindowAttribute");

std::int32_t scaled(std::int32_t value, std::uint32_t dpi) noexcept { return sat::to_i32(sat::scaled(value, dpi)); }

void paint_rows(HDC dc, const RECT& client, const TooltipPaintData& data) {
  fill(dc, client, data.background);
  SetBkMode(dc, TRANSPARENT);
  const std::uint32_t dpi = data.dpi;
  const TooltipMetrics& m = data.metrics;
  const std::int32_t px = scaled(m.padding_x, dpi);
  const std::int32_t sw = scaled(m.swatch_width, dpi);
  const std::int32_t gs = scaled(m.swatch_gap, dpi);
  const std::int32_t rh = scaled(m.row_height, dpi);
  const std::int32_t sh = std::max(1, scaled(m.swatch_height, dpi));
  std::int64_t row_top = scaled(m.padding_y, dpi);
  for (const TooltipPaintData::Row& row : data.rows) {
    const auto top = static_cast<LONG>(std::min<std::int64_t>(row_top, std::numeric_limits<LONG>::max() - rh));
    if (row.swatch) {
      const RECT swatch{px, top + (rh - sh) / 2, px + sw, top + (rh + sh) / 2};
      fill(dc, swatch, *row.swatch);
    }
    RECT text_rect{px + sw + gs, top, client.right - px, top + rh};
    SetTextColor(dc, colorref(data.label_color));
    DrawTextW(dc, row.label.c_str(), static_cast<int>(row.label.size()), &text_rect,
              DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
    SetTextColor(dc, colorref(data.text_color));
    DrawTextW(dc, row.value.c_str(), static_cast<int>(row.value.size()), &text_rect,
              DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    row_top += rh;
  }
}

// Double-buffered: drawn into a memory bitmap, then copied to the window in one go.
void paint(HWND window, const TooltipPaintData& data) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(window, &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  UniqueHbitmap bitmap(memory ? CreateCompatibleBitmap(dc, width, height) : nullptr);
  if (bitmap) {
    const SelectionGuard select_bitmap(memory.get(), bitmap.get());
    const SelectionGuard select_font(memory.get(), data.font.get());
    paint_rows(memory.get(), client, data);
    BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
  }
  EndPaint(window, &ps);
}

UniqueHfont create_font(const Appearance& appearance, std::uint32_t dpi) {
  const std::int32_t height = tooltip_font_height(appearance.tooltip_font_size_pt, dpi);
  const std::wstring face = widen(appearance.tooltip_font_family);
  return UniqueHfont(CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, face.c_str()));
}

ColumnWidths measure(const std::vector<TooltipRow>& rows, HFONT font) {
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return {};
  const SelectionGuard select_font(dc.get(), font);
  return measure_columns(rows, [&](std::string_view text) -> std::int32_t {
    const std::wstring wide = widen(text);
    RECT rect{};
    DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rect.right - rect.left;
  });
}

Rect monitor_of(const Placement& anchor) {
  const std::int64_t cx = std::int64_t{anchor.x} + anchor.width / 2;
  const std::int64_t cy = std::int64_t{anchor.y} + anchor.height / 2;
  const POINT centre{static_cast<LONG>(std::clamp<std::int64_t>(cx, INT32_MIN, INT32_MAX)),
                     static_cast<LONG>(std::clamp<std::int64_t>(cy, INT32_MIN, INT32_MAX))};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor = MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST);
  if (monitor != nullptr && GetMonitorInfoW(monitor, &info)) {
    return Rect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  }
  return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

// The window and what it paints; painting reads only what this object owns.
class TooltipWindow : public Window<TooltipWindow> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaTooltipWindow";

  TooltipWindow() noexcept {
    HWND window = create(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP,
                         L"VESSA", 0, 0, 1, 1, nullptr);
    if (window == nullptr) return;
    // Rounded corners where the system offers them; square ones elsewhere.
    constexpr DWORD kCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
    const DWORD round = 2;                   // DWMWCP_ROUND
    dwm_set_window_attribute(window, kCornerPreference, &round, sizeof(round));
  }

  void show(std::unique_ptr<TooltipPaintData> data, ScreenPoint position, TooltipSize size) noexcept {
    data_ = std::move(data);  // the previous data goes with its font
    SetWindowPos(hwnd(), HWND_TOPMOST, position.x, position.y, size.width, size.height, SWP_NOACTIVATE);
    ShowWindow(hwnd(), SW_SHOWNA);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        if (data_) {
          paint(hwnd(), *data_);
          return 0;
        }
        break;
      default:
        break;
    }
    return default_handling(message, wparam, lparam);
  }

  // Closed from outside: the paint data goes now, not with the next show.
  void on_window_gone() noexcept { data_.reset(); }

 private:
  std::unique_ptr<TooltipPaintData> data_;
};

TooltipState::TooltipState() = default;
TooltipState::~TooltipState() = default;

std::optional<DriveSpace> query_free_space(const std::string& root_path) {
  const std::wstring path = widen(root_path);
  ULARGE_INTEGER free_bytes{};
  ULARGE_INTEGER total_bytes{};
  // An empty removable drive must not bring up the system's "insert a disk" box.
  DWORD previous_mode = 0;
  const BOOL mode_set = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_mode);
  const BOOL ok = GetDiskFreeSpaceExW(path.c_str(), &free_bytes, &total_bytes, nullptr);
  if (mode_set) SetThreadErrorMode(previous_mode, nullptr);
  if (!ok) return std::nullopt;
  return DriveSpace{free_bytes.QuadPart, total_bytes.QuadPart};
}

void hide_tooltip(TooltipState& tooltip) { tooltip.window.reset(); }

HWND tooltip_window(const TooltipState& tooltip) noexcept { return tooltip.window ? tooltip.window->hwnd() : nullptr; }

void show_tooltip(TooltipState& tooltip, const Config& config, const Placement& anchor, std::uint32_t dpi,
                  bool vertical, std::vector<TooltipRow> rows) {
  if (rows.empty()) {
    hide_tooltip(tooltip);
    return;
  }
  tooltip.rows = std::move(rows);
  // A window closed from outside is gone; its object is replaced by a new window.
  if (tooltip.window && !tooltip.window->has_window()) tooltip.window.reset();
  if (!tooltip.window) {
    auto window = std::make_unique<TooltipWindow>();
    if (!window->has_window()) return;  // the next refresh tries again
    tooltip.window = std::move(window);
  }

  auto data = std::make_unique<TooltipPaintData>();
  const Appearance& appearance = config.appearance;
  data->font = create_font(appearance, dpi);
  const ColumnWidths columns = measure(tooltip.rows, data->font.get());
  const TooltipSize size = tooltip_size(tooltip.metrics, dpi, columns, tooltip.rows.size());
  const ScreenPoint position = tooltip_position(monitor_of(anchor), anchor, size, dpi, vertical);

  for (const TooltipRow& row : tooltip.rows) data->rows.push_back({widen(row.label), widen(row.value), row.swatch});
  data->metrics = tooltip.metrics;
  data->dpi = dpi;
  data->background = appearance.tooltip_background;
  data->text_color = appearance.tooltip_text_color;
  data->label_color = appearance.tooltip_label_color;
  tooltip.window->show(std::move(data), position, size);
}

}  // namespace vessa
