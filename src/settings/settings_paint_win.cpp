// The settings window's owner drawing: tabs, colour swatches, lamp-colour combos and the live
// preview with its sample tooltip.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "base/wide_win.hpp"
#include "config/theme_win.hpp"
#include "render/gdi_win.hpp"
#include "render/tooltip.hpp"
#include "settings/settings_dialog_win.hpp"

namespace vessa {

namespace {

void frame(HDC dc, const RECT& rect, Rgb color) {
  UniqueHbrush brush(CreateSolidBrush(colorref(color)));
  if (brush) FrameRect(dc, &rect, brush.get());
}

// Copies opaque 32-bit pixels (top-down rows) to `dc` at (x, y).
void blit(HDC dc, int x, int y, const PixelBuffer& pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = pixels.width();
  info.bmiHeader.biHeight = -pixels.height();  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(pixels.width()), static_cast<DWORD>(pixels.height()), 0, 0, 0,
                    static_cast<UINT>(pixels.height()), pixels.pixels().data(), &info, DIB_RGB_COLORS);
}

}  // namespace

LRESULT SettingsDialog::on_draw_item(const DRAWITEMSTRUCT& draw) {
  using namespace settings_id;
  const int id = static_cast<int>(draw.CtlID);
  if (draw.CtlType == ODT_BUTTON && id >= kFirstTab && id < kFirstTab + 3) {
    draw_tab(draw);
  } else if (draw.CtlType == ODT_BUTTON && id >= kFirstSwatch && id < kFirstSwatch + 5) {
    draw_swatch(draw);
  } else if (draw.CtlType == ODT_BUTTON && id == kPreview) {
    draw_preview(draw);
  } else if (draw.CtlType == ODT_COMBOBOX && id >= kLampRead && id < kLampRead + 3) {
    draw_lamp_item(draw);
  } else {
    return FALSE;
  }
  return TRUE;
}

void SettingsDialog::draw_tab(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  const RECT& box = draw.rcItem;
  FillRect(dc, &box, window_brush_.get());
  const int page = static_cast<int>(draw.CtlID) - settings_id::kFirstTab;
  const bool selected = page == page_;
  const std::wstring caption = widen(text(kPageCaptions[page]));
  const SelectionGuard select_font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colorref(selected ? palette_.grey1 : palette_.grey2));
  RECT text_box = box;
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text_box,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (selected) {
    SIZE size{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    const int width = std::min<int>(size.cx, box.right - box.left);
    const int left = box.left + (box.right - box.left - width) / 2;
    const RECT bar{left, box.bottom - dpi_fraction(dpi_, 32), left + width, box.bottom};
    fill(dc, bar, accent_);
  }
}

void SettingsDialog::draw_swatch(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  const RECT& box = draw.rcItem;
  const auto index = static_cast<std::size_t>(static_cast<int>(draw.CtlID) - settings_id::kFirstSwatch);
  fill(dc, box, swatches_[index]);
  frame(dc, box, (draw.itemState & ODS_DISABLED) != 0 ? palette_.grey3 : palette_.grey1);
  if ((draw.itemState & ODS_FOCUS) != 0) {
    RECT focus = box;
    InflateRect(&focus, -2, -2);
    DrawFocusRect(dc, &focus);
  }
}

void SettingsDialog::draw_lamp_item(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  const RECT& box = draw.rcItem;
  const auto slot_index = static_cast<std::size_t>(static_cast<int>(draw.CtlID) - settings_id::kLampRead);
  const bool valid = draw.itemID != static_cast<UINT>(-1) && draw.itemID < kLampPresetCount;
  const bool highlighted = valid && (draw.itemState & ODS_SELECTED) != 0 && (draw.itemState & ODS_COMBOBOXEDIT) == 0;
  fill(dc, box, highlighted ? palette_.grey4 : palette_.control_background);
  if (!valid) return;
  const Rgb color = lamp_presets(static_cast<LampSlot>(slot_index))[draw.itemID];
  RECT swatch = box;
  const int inset = std::max(1, dpi_fraction(dpi_, 32));
  InflateRect(&swatch, -inset, -inset);
  if (swatch.right > swatch.left && swatch.bottom > swatch.top) fill(dc, swatch, color);
}

void SettingsDialog::draw_preview(const DRAWITEMSTRUCT& draw) {
  HDC dc = draw.hDC;
  const RECT& box = draw.rcItem;
  const bool dark_taskbar = taskbar_is_dark();
  fill(dc, box, preview_background(dark_taskbar));
  frame(dc, box, palette_.grey3);

  const std::int32_t caption_height = scale_length(18, dpi_);
  const std::wstring caption = widen(text(TextId::Preview));
  RECT caption_box{box.left + scale_length(10, dpi_), box.top + 1, box.right - 1, box.top + 1 + caption_height};
  {
    const SelectionGuard select_font(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorref(palette_.grey2));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &caption_box,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }

  // The bars of the configuration as the controls stand now, below the caption.
  const Config config = collect();
  const ResolvedColors colors = resolve_colors(config.appearance, dark_taskbar);
  const int left = box.left + 1;
  const int top = caption_box.bottom;
  const int width = box.right - 1 - left;
  const int height = box.bottom - 1 - top;
  const std::optional<VerticalRotation> rotation =
      taskbar_vertical_ ? std::optional<VerticalRotation>(config.layout.vertical_rotation) : std::nullopt;
  if (const auto picture =
          preview_pixels(config, colors, width, height, dpi_, rotation, preview_background(dark_taskbar))) {
    blit(dc, left, top, *picture);
  }
}

void SettingsDialog::show_sample_tooltip() {
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  const Config config = collect();
  const ResolvedColors colors = resolve_colors(config.appearance, taskbar_is_dark());
  const MetricSample sample = preview_sample(config);
  const TooltipTexts texts = tooltip_texts(*texts_);
  const DiskText disk = disk_text({}, sample.disk_busy_percent, texts);
  const std::optional<WeatherReading> no_weather;
  std::vector<TooltipRow> rows =
      build_tooltip_rows(TooltipInputs{sample, colors, disk, no_weather, texts, config.weather.temperature_unit});
  const Placement anchor{cursor.x, cursor.y, 1, 1};
  show_tooltip(tooltip_, config, anchor, dpi_, false, std::move(rows));
}

void SettingsDialog::hide_sample_tooltip() {
  tracking_preview_ = false;
  hide_tooltip(tooltip_);
}

LRESULT SettingsDialog::handle_control_message(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEMOVE:
      // The sample shows only while its leave notification is armed, so that it always goes.
      if (!tracking_preview_) tracking_preview_ = track_mouse_leave(control);
      if (tracking_preview_) show_sample_tooltip();
      break;
    case WM_MOUSELEAVE:
      hide_sample_tooltip();
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wparam, lparam);
}

}  // namespace vessa
