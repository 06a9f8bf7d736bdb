// The settings window's messages and commands, and collecting its controls.

#include "settings/settings_dialog_win.hpp"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <utility>
#include <variant>

#include "base/wide_win.hpp"
#include "config/theme_win.hpp"
#include "metrics/metrics_win.hpp"
#include "render/gdi_win.hpp"
#include "render/taskbar_win.hpp"
#include "startup/startup_registration_win.hpp"

namespace vessa {

namespace {

std::vector<std::string> instances_or_none(std::string_view object_name) {
  Result<std::vector<std::string>> instances = enumerate_instances(object_name);
  if (!instances) return {};
  return std::move(instances).value();
}

// The primary taskbar's size and DPI, if there is one.
std::optional<TaskbarExtent> primary_taskbar(bool& vertical) {
  vertical = false;
  HWND taskbar = find_taskbar();
  RECT rect{};
  if (taskbar == nullptr || !GetWindowRect(taskbar, &rect)) return std::nullopt;
  vertical = rect.bottom - rect.top > rect.right - rect.left;
  return TaskbarExtent{rect.right - rect.left, rect.bottom - rect.top, window_dpi(taskbar)};
}

std::string window_text(HWND control) {
  if (control == nullptr) return {};
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, buffer.data(), length + 1);
  buffer.resize(static_cast<std::size_t>(std::clamp(copied, 0, length)));
  return narrow(buffer);
}

ComboItem combo_item(HWND combo) {
  if (combo == nullptr) return std::nullopt;
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selected == CB_ERR || selected < 0) return std::nullopt;
  return static_cast<std::size_t>(selected);
}

bool checked(HWND box) { return box != nullptr && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

SettingsDialog::SettingsDialog(const SettingsRequest& request)
    : working_(request.config), texts_(&ui_texts(request.language)) {
  disk_choices_ = disk_choices(instances_or_none("LogicalDisk"));
  disk_selection_ = disk_selection(disk_choices_, working_.metrics.disk_instances);
  adapters_ = adapter_choices(instances_or_none("Network Interface"));
  band_limit_ = bar_area_limit(primary_taskbar(taskbar_vertical_), working_.layout.padding_y);

  dark_ = settings_theme_is_dark();
  palette_ = settings_palette(dark_);
  accent_ = accent_color();
  window_brush_.reset(CreateSolidBrush(colorref(palette_.window_background)));
  control_brush_.reset(CreateSolidBrush(colorref(palette_.control_background)));

  swatches_ = swatches_of(working_.appearance, taskbar_is_dark());
  lamp_colors_ = {working_.appearance.disk_lamp_read_color, working_.appearance.disk_lamp_write_color,
                  working_.appearance.disk_lamp_both_color};
  custom_colors_.fill(RGB(255, 255, 255));
}

SettingsDialog::~SettingsDialog() { destroy(); }

bool SettingsDialog::open() {
  const std::wstring title = widen(text(TextId::SettingsTitle));
  if (create(WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, WS_CAPTION | WS_SYSMENU,
             title.c_str(), CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr) == nullptr) {
    return false;
  }
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  return true;
}

void SettingsDialog::on_window_gone() noexcept {
  check_list_.destroy();
  hide_tooltip(tooltip_);
  controls_.clear();
}

LRESULT SettingsDialog::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: {
      dpi_ = window_dpi(hwnd());
      NONCLIENTMETRICSW metrics{};
      metrics.cbSize = sizeof(metrics);
      if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi_)) {
        font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
        LOGFONTW title = metrics.lfMessageFont;
        title.lfHeight = title.lfHeight / 2 * 3;
        title.lfWeight = FW_SEMIBOLD;
        title_font_.reset(CreateFontIndirectW(&title));
      }
      apply_dark_title_bar(hwnd(), dark_);
      icons_ = set_window_icons(hwnd(), working_.appearance.tray_icon_color.value_or(palette_.grey1));
      build_controls();
      return 0;
    }
    case WM_COMMAND:
      on_command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_CLOSE:
      destroy();  // the close box is Cancel
      return 0;
    case WM_SETTINGCHANGE:  // "ImmersiveColorSet" when the taskbar turns light or dark
      taskbar_theme_changed();
      return default_handling(message, wparam, lparam);
    case kPlaceLookupDone:
      place_lookup_done();
      return 0;
    case WM_DRAWITEM:
      return on_draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    case WM_MEASUREITEM: {
      auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (measure.CtlType == ODT_COMBOBOX) measure.itemHeight = static_cast<UINT>(scale_length(18, dpi_));
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
      return control_colors(wparam, palette_.grey1, palette_.window_background, window_brush_.get());
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return control_colors(wparam, palette_.grey1, palette_.control_background, control_brush_.get());
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, window_brush_.get());
      return 1;
    }
    default:
      return default_handling(message, wparam, lparam);
  }
}

void SettingsDialog::invalidate_preview() const noexcept {
  if (HWND preview = item(settings_id::kPreview)) InvalidateRect(preview, nullptr, FALSE);
}

void SettingsDialog::enable_lamp_combos() {
  const bool lamp = checked(item(settings_id::kDiskLamp));
  for (int i = 0; i < 3; ++i) EnableWindow(item(settings_id::kLampRead + i), lamp ? TRUE : FALSE);
}

void SettingsDialog::on_command(int id, int code, HWND control) {
  if (controls_.empty()) return;  // still building
  invalidate_preview();
  enable_lamp_combos();
  using namespace settings_id;
  if (id >= kFirstTab && id < kFirstTab + 3 && code == BN_CLICKED) {
    if (id - kFirstTab != page_) show_page(id - kFirstTab);
    return;
  }
  if ((id == kScheme || id == kFamily) && code == CBN_SELCHANGE) {
    scheme_changed();
    return;
  }
  if (id >= kFirstSwatch && id < kFirstSwatch + 5 && code == BN_CLICKED) {
    choose_swatch_color(static_cast<std::size_t>(id - kFirstSwatch));
    return;
  }
  if (id >= kLampRead && id < kLampRead + 3 && code == CBN_SELCHANGE) {
    const auto slot = static_cast<LampSlot>(id - kLampRead);
    if (const ComboItem chosen = combo_item(control); chosen && *chosen < kLampPresetCount) {
      lamp_colors_[static_cast<std::size_t>(id - kLampRead)] = lamp_presets(slot)[*chosen];
    }
    return;
  }
  if (id == kAreaMode && code == CBN_SELCHANGE) {
    if (combo_item(control) == ComboItem{0}) {
      start_device_location();
    } else {
      end_device_location();
    }
    return;
  }
  if (id == kWeather && code == BN_CLICKED) {
    if (!locating_ && weather_tick_locates_device(checked(item(kWeather)), combo_item(item(kAreaMode)) == ComboItem{0},
                                                  working_.weather)) {
      start_device_location();
    }
    return;
  }
  if (id == kSearch && code == BN_CLICKED) {
    start_place_search();
    return;
  }
  if (id == kMatches && code == CBN_SELCHANGE) {
    if (const ComboItem chosen = combo_item(control)) apply_match(*chosen);
    return;
  }
  if (id == kDisks && code == BN_CLICKED) {
    open_check_list();
    return;
  }
  if (id == kOk && (code == BN_CLICKED || control == nullptr)) {
    accept();
    return;
  }
  if (id == kCancel && (code == BN_CLICKED || control == nullptr)) {
    destroy();
    return;
  }
}

void SettingsDialog::show_page(int page) {
  page_ = std::clamp(page, 0, 2);
  const unsigned mask = 1u << page_;
  for (const RegisteredControl& registered : controls_) {
    ShowWindow(registered.control, (registered.mask & mask) != 0 ? SW_SHOWNA : SW_HIDE);
  }
  for (int i = 0; i < 3; ++i) InvalidateRect(item(settings_id::kFirstTab + i), nullptr, TRUE);
  if (page_ != 0) hide_sample_tooltip();
}

void SettingsDialog::update_scheme_controls() {
  const ComboItem scheme = combo_item(item(settings_id::kScheme));
  EnableWindow(item(settings_id::kFamily), scheme == ComboItem{1} ? TRUE : FALSE);
  for (int i = 0; i < 5; ++i) {
    EnableWindow(item(settings_id::kFirstSwatch + i), scheme == ComboItem{2} ? TRUE : FALSE);
  }
}

void SettingsDialog::scheme_changed() {
  const ComboItem scheme = combo_item(item(settings_id::kScheme));
  const ComboItem family = combo_item(item(settings_id::kFamily));
  const auto chosen_scheme = scheme && *scheme < enum_count<ColorScheme> ? static_cast<ColorScheme>(*scheme)
                                                                          : working_.appearance.color_scheme;
  const auto chosen_family = family && *family < enum_count<ColorFamily> ? static_cast<ColorFamily>(*family)
                                                                          : working_.appearance.color_family;
  swatches_ = swatches_for_scheme(chosen_scheme, chosen_family, taskbar_is_dark(), swatches_);
  update_scheme_controls();
  for (int i = 0; i < 5; ++i) InvalidateRect(item(settings_id::kFirstSwatch + i), nullptr, TRUE);
}

// The taskbar's theme is read wherever colours are resolved; what already shows them is drawn
// again: the swatches of the standard and family schemes (the grey family depends on the
// theme; "custom" keeps its own), the preview and the sample tooltip.
void SettingsDialog::taskbar_theme_changed() {
  if (controls_.empty()) return;
  scheme_changed();
  invalidate_preview();
  if (tracking_preview_) show_sample_tooltip();
}

void SettingsDialog::choose_swatch_color(std::size_t index) {
  if (index >= swatches_.size()) return;
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = hwnd();
  choose.rgbResult = colorref(swatches_[index]);
  choose.lpCustColors = custom_colors_.data();
  choose.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
  if (!ChooseColorW(&choose)) return;  // cancelled: the swatch stays
  if (!has_window()) return;           // the window went while the chooser was open
  swatches_[index] = Rgb{GetRValue(choose.rgbResult), GetGValue(choose.rgbResult), GetBValue(choose.rgbResult)};
  InvalidateRect(item(settings_id::kFirstSwatch + static_cast<int>(index)), nullptr, TRUE);
  invalidate_preview();
}

void SettingsDialog::open_check_list() {
  HWND button = item(settings_id::kDisks);
  RECT anchor{};
  if (button == nullptr || !GetWindowRect(button, &anchor)) return;
  CheckListLook look;
  look.font = font_.get();
  look.background = window_brush_.get();
  look.palette = palette_;
  look.dark = dark_;
  look.dpi = dpi_;
  check_list_.open(hwnd(), anchor, disk_choices_, std::string(text(TextId::All)), disk_selection_, look, [this] {
    const std::wstring caption = widen(disk_button_text(disk_choices_, disk_selection_, *texts_));
    SetWindowTextW(item(settings_id::kDisks), caption.c_str());
    invalidate_preview();
  });
}

SettingsControlValues SettingsDialog::read_controls() const {
  using namespace settings_id;
  SettingsControlValues values;
  values.scheme = combo_item(item(kScheme));
  values.family = combo_item(item(kFamily));
  values.swatches = swatches_;
  values.temperature_unit = combo_item(item(kTemperatureUnit));
  values.secondary_displays = checked(item(kDisplays));
  values.language = combo_item(item(kLanguage));
  for (std::size_t i = 0; i < values.items.size(); ++i) {
    values.items[i] = checked(item(kFirstItem + static_cast<int>(i)));
  }
  values.disk_choices = disk_choices_;
  values.disk_selection = disk_selection_;
  values.adapters = adapters_;
  values.adapter = combo_item(item(kAdapter));
  values.bar_width = window_text(item(kBarWidth));
  values.update_interval = window_text(item(kInterval));
  values.band_height = window_text(item(kBandHeight));
  values.full_scale = window_text(item(kFullScale));
  values.show_track = checked(item(kShowTrack));
  values.vertical_rotation = combo_item(item(kRotation));
  values.disk_lamp = checked(item(kDiskLamp));
  values.lamp_colors = lamp_colors_;
  values.weather_enabled = checked(item(kWeather));
  values.location_mode = combo_item(item(kAreaMode));
  values.place_name = window_text(item(kPlaceName));
  values.coordinates = window_text(item(kCoordinates));
  return values;
}

void SettingsDialog::start_device_location() {
  const std::wstring locating = widen(text(TextId::Locating));
  SetWindowTextW(item(settings_id::kCoordinates), locating.c_str());
  lookup_.start_location(hwnd(), kPlaceLookupDone);
  locating_ = true;
}

// A choice the user made since (manual mode, a search, a match) outweighs a position that has
// not come yet: its result is dropped. The field no longer reports a location either way: it
// shows the working copy's place.
void SettingsDialog::end_device_location() {
  if (std::exchange(locating_, false)) lookup_.cancel();
  show_working_coordinates();
}

void SettingsDialog::show_working_coordinates() {
  const std::wstring coordinates =
      widen(configured_coordinates_text(working_.weather.latitude, working_.weather.longitude));
  SetWindowTextW(item(settings_id::kCoordinates), coordinates.c_str());
}

void SettingsDialog::start_place_search() {
  end_device_location();
  HWND matches = item(settings_id::kMatches);
  SendMessageW(matches, CB_RESETCONTENT, 0, 0);
  candidates_.clear();
  HWND field = item(settings_id::kPlaceName);
  std::u16string typed;
  if (field != nullptr) {
    const int length = GetWindowTextLengthW(field);
    std::wstring buffer(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(field, buffer.data(), static_cast<int>(buffer.size()));
    typed.assign(buffer.begin(), buffer.begin() + std::clamp(copied, 0, std::max(length, 0)));
  }
  const bool english = texts_->language() == UiLanguage::English;
  lookup_.start_search(place_query_from_field(typed), english, hwnd(), kPlaceLookupDone);
}

void SettingsDialog::place_lookup_done() {
  std::optional<PlaceLookupResult> finished = lookup_.take();
  if (!finished.has_value()) return;  // superseded by a newer request
  if (auto* search = std::get_if<PlaceSearchOutcome>(&finished->outcome)) {
    HWND matches = item(settings_id::kMatches);
    SendMessageW(matches, CB_RESETCONTENT, 0, 0);
    candidates_.clear();
    for (const std::string& line : match_lines(*search, text(TextId::NoMatches))) {
      const std::wstring wide = widen(line);
      SendMessageW(matches, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    // The first line shows in the closed list: the first match (applied at once), "No
    // matches" or the error.
    SendMessageW(matches, CB_SETCURSEL, 0, 0);
    if (search->ok() && !search->value().empty()) {
      candidates_ = search->value();
      apply_match(0);
    }
  } else if (auto* location = std::get_if<LocationOutcome>(&finished->outcome)) {
    locating_ = false;
    const std::wstring shown = widen(location_text(*location));
    SetWindowTextW(item(settings_id::kCoordinates), shown.c_str());
    if (location->ok()) apply_position_to(working_.weather, location->value());
  }
  invalidate_preview();
}

void SettingsDialog::apply_match(std::size_t index) {
  if (index >= candidates_.size()) return;  // an error or "No matches" line
  end_device_location();
  apply_candidate_to(working_.weather, candidates_[index]);
  // The place name is collected from its field, so the field shows the chosen label.
  const std::wstring name = widen(working_.weather.place_name);
  SetWindowTextW(item(settings_id::kPlaceName), name.c_str());
  show_working_coordinates();
}

Config SettingsDialog::collect() const { return collect_settings(working_, read_controls(), band_limit_); }

void SettingsDialog::accept() {
  const Config collected = collect();
  set_start_with_windows(checked(item(settings_id::kStartWithWindows)));
  result_ = collected;
  destroy();
}

}  // namespace vessa
