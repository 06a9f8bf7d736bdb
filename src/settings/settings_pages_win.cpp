// Building the settings window's three pages: every control with its identifier, label and
// initial state, placed by the layout arithmetic of settings_layout.hpp.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "base/wide_win.hpp"
#include "settings/settings_dialog_win.hpp"
#include "startup/startup_registration_win.hpp"
#include "weather/https_get.hpp"

namespace vessa {

namespace {

constexpr unsigned kAllPages = 7;
// The About page's author line; the product page is the one the forecast requests name.
constexpr std::string_view kAuthor = "vessa-monitor";
// The metrics' names in the order of MetricKind: the item boxes and the swatch labels.
constexpr TextId kMetricNames[] = {TextId::Cpu, TextId::Memory, TextId::Disk, TextId::Network, TextId::Gpu};

HMENU menu_id(int id) noexcept { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

}  // namespace

std::int32_t SettingsDialog::text_width(std::string_view text) const {
  const std::wstring wide = widen(text);
  const WindowDc dc(hwnd());
  if (!dc) return 0;
  const SelectionGuard select_font(dc.get(), font_.get());
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return size.cx;
}

std::vector<std::string> SettingsDialog::texts(std::initializer_list<TextId> ids) const {
  std::vector<std::string> list;
  for (const TextId id : ids) list.emplace_back(text(id));
  return list;
}

HWND SettingsDialog::add_control(const wchar_t* class_name, std::string_view text, DWORD style, const ControlBox& box,
                                 int id, DWORD ex_style) {
  const std::wstring wide = widen(text);
  HWND control = CreateWindowExW(ex_style, class_name, wide.c_str(), WS_CHILD | WS_VISIBLE | style, box.x, box.y,
                                 box.width, box.height, hwnd(), menu_id(id), GetModuleHandleW(nullptr), nullptr);
  if (control == nullptr) return nullptr;  // left out; the layout goes on
  if (font_) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  apply_control_theme(control, dark_);
  controls_.push_back({control, building_mask_});
  return control;
}

HWND SettingsDialog::add_label(std::string_view label, const ControlBox& box) {
  return add_control(L"STATIC", label, SS_LEFT | SS_NOPREFIX, box, -1);
}

HWND SettingsDialog::add_check_box(TextId label, PageFlow& flow, int id, bool checked, std::int32_t indent) {
  const ControlBox box = flow.check_box(text_width(text(label)), indent);
  HWND control = add_control(L"BUTTON", text(label), BS_AUTOCHECKBOX | WS_TABSTOP, box, id);
  if (control != nullptr) SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  return control;
}

HWND SettingsDialog::add_combo(const ControlBox& box, int id, const std::vector<std::string>& items,
                               std::size_t selected, DWORD extra_style) {
  HWND combo = add_control(L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | extra_style, box, id);
  if (combo == nullptr) return nullptr;
  for (const std::string& entry : items) {
    const std::wstring wide = widen(entry);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  if (selected < items.size()) SendMessageW(combo, CB_SETCURSEL, selected, 0);
  return combo;
}

void SettingsDialog::build_controls() {
  // The label column is as wide as the widest row label.
  std::vector<std::string> labels =
      texts({TextId::TemperatureUnit, TextId::Language, TextId::DiskSelection, TextId::Adapter,
             TextId::VerticalOrientation, TextId::Area, TextId::PlaceName, TextId::Matches, TextId::Coordinates});
  labels.insert(labels.end(), {label_with_unit(text(TextId::FullScale), text(TextId::UnitMbps)),
                               label_with_unit(text(TextId::UpdateInterval), text(TextId::UnitMilliseconds)),
                               label_with_unit(text(TextId::BarWidth), text(TextId::UnitPixels)),
                               bar_area_label(*texts_, band_limit_)});
  std::int32_t widest = 0;
  for (const std::string& label : labels) widest = std::max(widest, text_width(label));
  const SettingsMetrics m = settings_metrics(dpi_, widest);

  // Tabs, left to right from the margin.
  building_mask_ = kAllPages;
  std::int32_t tab_x = m.margin_x;
  for (int page = 0; page < 3; ++page) {
    const std::string_view caption = text(kPageCaptions[page]);
    const ControlBox box = tab_box(m, tab_x, text_width(caption));
    add_control(L"BUTTON", caption, BS_OWNERDRAW | WS_TABSTOP, box, settings_id::kFirstTab + page);
    tab_x = box.right();
  }

  PageFlow monitors(m);
  building_mask_ = 1;
  build_monitors_page(m, monitors);
  PageFlow appearance(m);
  building_mask_ = 2;
  build_appearance_page(m, appearance);
  PageFlow about(m);
  building_mask_ = 4;
  build_about_page(m, about);

  const std::int32_t tallest = std::max({monitors.bottom(), appearance.bottom(), about.bottom()});
  const std::int32_t rightmost =
      std::max({monitors.rightmost(), appearance.rightmost(), about.rightmost(), tab_x, m.content_right});
  const ButtonRow buttons = button_row(m, tallest, rightmost);
  building_mask_ = kAllPages;
  add_control(L"BUTTON", text(TextId::Ok), WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, buttons.ok, settings_id::kOk);
  add_control(L"BUTTON", text(TextId::Cancel), WS_TABSTOP | BS_PUSHBUTTON, buttons.cancel, settings_id::kCancel);

  // The window fits its client area, centred on the primary screen.
  RECT frame{0, 0, buttons.client_width, buttons.client_height};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_STYLE));
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE));
  AdjustWindowRectEx(&frame, style, FALSE, ex_style);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  // A window taller or wider than the screen (a small screen at a high DPI) keeps its title
  // bar on the screen, so that it can still be moved.
  const int x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  const int y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
  SetWindowPos(hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

  update_scheme_controls();
  enable_lamp_combos();
  show_page(0);
}

void SettingsDialog::build_monitors_page(const SettingsMetrics& m, PageFlow& flow) {
  const ControlBox heading = flow.heading(text_width(text(TextId::ItemsToDisplay)));
  add_label(text(TextId::ItemsToDisplay), heading);

  const std::int32_t indent = dpi_fraction(dpi_, 12);
  for (std::size_t i = 0; i < 5; ++i) {
    const auto kind = static_cast<MetricKind>(i);
    const bool checked =
        std::find(working_.metrics.items.begin(), working_.metrics.items.end(), kind) != working_.metrics.items.end();
    add_check_box(kMetricNames[i], flow, settings_id::kFirstItem + static_cast<int>(i), checked, indent);
  }

  // The preview square in the control column beside the items, its top at the heading.
  const std::int32_t side = scale_length(190, dpi_);
  const ControlBox preview{m.control_x, heading.y, side, side};
  if (HWND control = add_control(L"BUTTON", "", BS_OWNERDRAW, preview, settings_id::kPreview)) {
    subclass(control);
  }
  flow.note(preview);
  flow.advance_to(preview.bottom());

  add_label(text(TextId::PerItemSettings), flow.heading(text_width(text(TextId::PerItemSettings))));

  auto row = flow.labelled_row();
  add_label(text(TextId::DiskSelection), row.label);
  add_control(L"BUTTON", disk_button_text(disk_choices_, disk_selection_, *texts_),
              BS_LEFT | BS_PUSHBUTTON | WS_TABSTOP, row.control, settings_id::kDisks);

  row = flow.labelled_row(true);
  add_label(text(TextId::Adapter), row.label);
  std::vector<std::string> adapter_items{std::string(text(TextId::All))};
  adapter_items.insert(adapter_items.end(), adapters_.begin(), adapters_.end());
  add_combo(row.control, settings_id::kAdapter, adapter_items,
            adapter_item(adapters_, working_.metrics.network_adapter));

  row = flow.labelled_row();
  add_label(label_with_unit(text(TextId::FullScale), text(TextId::UnitMbps)), row.label);
  add_control(L"EDIT", shortest_number_text(working_.metrics.network_scale_mbps),
              ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, row.control, settings_id::kFullScale);

  row = flow.labelled_row();
  add_label(label_with_unit(text(TextId::UpdateInterval), text(TextId::UnitMilliseconds)), row.label);
  add_control(L"EDIT", std::to_string(working_.general.update_interval_ms),
              ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, row.control, settings_id::kInterval);

  add_check_box(TextId::ShowDiskLamp, flow, settings_id::kDiskLamp, working_.metrics.disk_lamp);

  // The three lamp colours on one row: label, combo, then the next pair dpi/8 further on.
  {
    const std::int32_t top = flow.y();
    std::int32_t x = m.margin_x;
    static constexpr LampSlot kSlots[] = {LampSlot::Read, LampSlot::Write, LampSlot::Both};
    static constexpr TextId kCaptions[] = {TextId::LampRead, TextId::LampWrite, TextId::LampBoth};
    for (std::size_t i = 0; i < 3; ++i) {
      const std::string_view caption = text(kCaptions[i]);
      const ControlBox label{x, top + m.label_offset, text_width(caption) + dpi_fraction(dpi_, 16), m.control_height};
      add_label(caption, label);
      flow.note(label);
      const ControlBox combo{label.right(), top, scale_length(58, dpi_), scale_length(152, dpi_)};
      const std::vector<std::string> blanks(kLampPresetCount);
      if (HWND control = add_combo(combo, settings_id::kLampRead + static_cast<int>(i), blanks,
                                   lamp_preset_item(kSlots[i], lamp_colors_[i]), CBS_OWNERDRAWFIXED)) {
        SendMessageW(control, CB_SETITEMHEIGHT, 0, scale_length(18, dpi_));
      }
      flow.note({combo.x, combo.y, combo.width, m.control_height});
      x = combo.right() + dpi_fraction(dpi_, 8);
    }
    flow.advance_to(top + m.row_step);
  }

  add_check_box(TextId::SecondaryDisplays, flow, settings_id::kDisplays, working_.general.displays == Displays::All);
  add_check_box(TextId::StartWithWindows, flow, settings_id::kStartWithWindows, start_with_windows_state());
}

void SettingsDialog::build_appearance_page(const SettingsMetrics& m, PageFlow& flow) {
  auto row = flow.labelled_row(true);
  add_label(text(TextId::Language), row.label);
  add_combo(row.control, settings_id::kLanguage,
            {std::string(text(TextId::LanguageAutomatic)), std::string(kJapaneseLanguageName),
             std::string(kEnglishLanguageName)},
            static_cast<std::size_t>(working_.general.language));

  add_label(text(TextId::Bars), flow.heading(text_width(text(TextId::Bars))));

  row = flow.labelled_row();
  add_label(label_with_unit(text(TextId::BarWidth), text(TextId::UnitPixels)), row.label);
  add_control(L"EDIT", std::to_string(working_.layout.line_length), ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
              row.control, settings_id::kBarWidth);

  row = flow.labelled_row();
  add_label(bar_area_label(*texts_, band_limit_), row.label);
  add_control(L"EDIT", std::to_string(working_.layout.band_height), ES_NUMBER | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
              row.control, settings_id::kBandHeight);

  add_check_box(TextId::ShowTrack, flow, settings_id::kShowTrack, working_.layout.show_track);

  row = flow.labelled_row(true);
  add_label(text(TextId::VerticalOrientation), row.label);
  add_combo(row.control, settings_id::kRotation, texts({TextId::RotateRight, TextId::RotateLeft}),
            static_cast<std::size_t>(working_.layout.vertical_rotation));

  flow.gap(14);
  row = flow.labelled_row(true);
  add_label(text(TextId::Scheme), row.label);
  add_combo(row.control, settings_id::kScheme,
            texts({TextId::SchemeStandard, TextId::SchemePresetFamily, TextId::SchemeCustom}),
            static_cast<std::size_t>(working_.appearance.color_scheme));

  row = flow.labelled_row(true);
  add_label(text(TextId::Family), row.label);
  // In the order of the values: mono, red, yellow, green, blue, pink.
  add_combo(row.control, settings_id::kFamily,
            texts({TextId::FamilyMono, TextId::FamilyRed, TextId::FamilyYellow, TextId::FamilyGreen,
                   TextId::FamilyBlue, TextId::FamilyPink}),
            static_cast<std::size_t>(working_.appearance.color_family));

  for (std::size_t i = 0; i < 5; ++i) {
    row = flow.labelled_row();
    add_label(text(kMetricNames[i]), row.label);
    ControlBox swatch = row.control;
    swatch.width = scale_length(72, dpi_);
    add_control(L"BUTTON", "", BS_OWNERDRAW | WS_TABSTOP, swatch, settings_id::kFirstSwatch + static_cast<int>(i));
  }

  add_label(text(TextId::Weather), flow.heading(text_width(text(TextId::Weather))));
  add_check_box(TextId::ShowWeatherIcon, flow, settings_id::kWeather, working_.weather.enabled);

  row = flow.labelled_row(true);
  add_label(text(TextId::TemperatureUnit), row.label);
  add_combo(row.control, settings_id::kTemperatureUnit, texts({TextId::Celsius, TextId::Fahrenheit}),
            static_cast<std::size_t>(working_.weather.temperature_unit));

  row = flow.labelled_row(true);
  add_label(text(TextId::Area), row.label);
  add_combo(row.control, settings_id::kAreaMode, texts({TextId::AreaAutomatic, TextId::AreaManual}),
            static_cast<std::size_t>(working_.weather.location_mode));

  // The place name and its search button share the control column.
  row = flow.labelled_row();
  add_label(text(TextId::PlaceName), row.label);
  const std::int32_t button_width =
      std::min(row.control.width / 2, text_width(text(TextId::Search)) + 2 * dpi_fraction(dpi_, 8));
  const std::int32_t gap = dpi_fraction(dpi_, 16);
  ControlBox place = row.control;
  place.width = std::max(1, row.control.width - button_width - gap);
  add_control(L"EDIT", working_.weather.place_name, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, place,
              settings_id::kPlaceName);
  const ControlBox search{place.right() + gap, row.control.y, button_width, row.control.height};
  add_control(L"BUTTON", text(TextId::Search), BS_PUSHBUTTON | WS_TABSTOP, search, settings_id::kSearch);

  row = flow.labelled_row(true);
  add_label(text(TextId::Matches), row.label);
  add_combo(row.control, settings_id::kMatches, {}, 0);

  row = flow.labelled_row();
  add_label(text(TextId::Coordinates), row.label);
  add_control(L"STATIC", configured_coordinates_text(working_.weather.latitude, working_.weather.longitude),
              SS_LEFT | SS_NOPREFIX, row.control, settings_id::kCoordinates);
  (void)m;
}

void SettingsDialog::build_about_page(const SettingsMetrics& m, PageFlow& flow) {
  const std::int32_t width = m.content_right - m.margin_x;
  const ControlBox title{m.margin_x, flow.y(), width, scale_length(28, dpi_)};
  if (HWND line = add_label(text(TextId::ProductName), title); line != nullptr && title_font_) {
    SendMessageW(line, WM_SETFONT, reinterpret_cast<WPARAM>(title_font_.get()), FALSE);
  }
  flow.note(title);
  flow.advance_to(title.bottom());
  const std::string lines[] = {
      std::string(text(TextId::Version)) + " " VESSA_VERSION,
      std::string(text(TextId::Author)) + ": " + std::string(kAuthor),
      std::string(text(TextId::Website)) + ": " + std::string(kProductWebPage),
      std::string(text(TextId::DataSources)),
  };
  for (const std::string& line : lines) {
    const ControlBox box{m.margin_x, flow.y(), width, m.control_height};
    add_label(line, box);
    flow.note(box);
    flow.advance_to(flow.y() + m.row_step);
  }
}

}  // namespace vessa
