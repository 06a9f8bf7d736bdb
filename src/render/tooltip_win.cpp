#include "render/tooltip_win.hpp"

#include <dwmapi.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <memory>
#include <string>

#include "app/app_state_win.hpp"
#include "base/wide_win.hpp"
#include "render/saturating.hpp"

namespace vessa {
namespace {

// What the window needs to paint itself; owned by the window through GWLP_USERDATA.
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

COLORREF colorref(Rgb color) noexcept { return RGB(color.r, color.g, color.b); }

std::int32_t scaled(std::int32_t value, std::uint32_t dpi) noexcept { return sat::to_i32(sat::scaled(value, dpi)); }

// Takes the paint data out of the window; the caller owns it from then on.
std::unique_ptr<TooltipPaintData> take_paint_data(HWND window, TooltipPaintData* replacement = nullptr) noexcept {
  return std::unique_ptr<TooltipPaintData>(
      reinterpret_cast<TooltipPaintData*>(SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(replacement))));
}

void fill(HDC dc, const RECT& rect, Rgb color) {
  UniqueHbrush brush(CreateSolidBrush(colorref(color)));
  if (brush) FillRect(dc, &rect, brush.get());
}

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
    if (data.font) {
      const SelectionGuard select_font(memory.get(), data.font.get());
      paint_rows(memory.get(), client, data);
    } else {
      paint_rows(memory.get(), client, data);
    }
    BitBlt(dc, 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK tooltip_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (const auto* data = reinterpret_cast<const TooltipPaintData*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
        paint(window, *data);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      take_paint_data(window).reset();  // destroyed some other way than through its owner
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void register_class(TooltipState& tooltip, HINSTANCE instance) {
  if (tooltip.class_registered) return;
  WNDCLASSW window_class{};
  window_class.style = 0;
  window_class.lpfnWndProc = tooltip_window_proc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = kTooltipWindowClass;
  RegisterClassW(&window_class);  // a failure shows as a failed window creation
  tooltip.class_registered = true;
}

HWND create_window(HINSTANCE instance) {
  HWND window = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTooltipWindowClass, L"VESSA",
                                WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  // Rounded corners where the system offers them; square ones elsewhere.
  constexpr DWORD kCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
  const DWORD round = 2;                   // DWMWCP_ROUND
  DwmSetWindowAttribute(window, kCornerPreference, &round, sizeof(round));
  return window;
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

// The bar window's last placement in screen pixels: a child of the taskbar is placed in the
// taskbar's client coordinates.
Placement bar_anchor(const AppState& state) {
  Placement anchor = state.placement;
  if (state.current_attach_mode == AttachMode::Child && state.taskbar != nullptr) {
    POINT origin{anchor.x, anchor.y};
    if (ClientToScreen(state.taskbar, &origin)) {
      anchor.x = origin.x;
      anchor.y = origin.y;
    }
  }
  return anchor;
}

}  // namespace

void destroy_tooltip_window(HWND window) noexcept {
  take_paint_data(window).reset();
  DestroyWindow(window);
}

void hide_tooltip(TooltipState& tooltip) { tooltip.window.reset(); }

void hide_tooltip(AppState& state) { hide_tooltip(state.tooltip); }

void show_tooltip(TooltipState& tooltip, const Config& config, const Placement& anchor, std::uint32_t dpi,
                  bool vertical, std::vector<TooltipRow> rows) {
  if (rows.empty()) {
    hide_tooltip(tooltip);
    return;
  }
  tooltip.rows = std::move(rows);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  register_class(tooltip, instance);
  if (!tooltip.window) {
    tooltip.window.reset(create_window(instance));
    if (!tooltip.window) return;  // the next refresh tries again
  }
  HWND window = tooltip.window.get();

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
  take_paint_data(window, data.release()).reset();  // the previous data goes with its font

  SetWindowPos(window, HWND_TOPMOST, position.x, position.y, size.width, size.height, SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOWNA);
  InvalidateRect(window, nullptr, FALSE);
}

void refresh_tooltip(AppState& state) {
  if (!state.has_sample) return;
  if (!state.visible && !state.tooltip_anchor) return;

  const std::vector<DriveUsage>& drives = state.tooltip.drive_usage.refresh(std::chrono::steady_clock::now(), [&] {
    return query_drive_usage(tooltip_drive_names(state.config.metrics.disk_instances, state.drive_letters),
                             query_free_space);
  });
  const DiskText disk = disk_text(drives, state.last_sample.disk_busy_percent, *state.texts);
  std::vector<TooltipRow> rows = build_tooltip_rows(TooltipInputs{state.last_sample, state.colors, disk,
                                                                  state.weather.reading, state.language,
                                                                  state.config.weather.temperature_unit});

  const Placement anchor = state.tooltip_anchor ? *state.tooltip_anchor : bar_anchor(state);
  const std::uint32_t dpi = state.tooltip_dpi ? *state.tooltip_dpi : state.container_dpi;
  bool vertical = state.vertical;
  if (state.tooltip_orientation == TooltipOrientation::Horizontal) vertical = false;
  if (state.tooltip_orientation == TooltipOrientation::Vertical) vertical = true;
  show_tooltip(state.tooltip, state.config, anchor, dpi, vertical, std::move(rows));
}

}  // namespace vessa
