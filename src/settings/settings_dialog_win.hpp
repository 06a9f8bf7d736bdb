#pragma once
// The settings window's object: its state from opening to destruction (the working copy, the
// lists, the palette and brushes, the font, the control registry, the check list and the
// sample tooltip), split over settings_dialog_win.cpp (messages, commands, collecting),
// settings_pages_win.cpp (building the pages) and settings_paint_win.cpp (owner drawing).
// Only run_settings_window (settings_window_win.cpp) creates one.

#include <windows.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/unique_handle_win.hpp"
#include "base/window_win.hpp"
#include "config/colors.hpp"
#include "config/config.hpp"
#include "render/tooltip_win.hpp"
#include "settings/check_list_win.hpp"
#include "settings/settings_collect.hpp"
#include "settings/settings_layout.hpp"
#include "settings/settings_model.hpp"
#include "settings/settings_theme_win.hpp"
#include "settings/settings_window_win.hpp"
#include "settings/ui_text.hpp"
#include "weather/place_lookup_win.hpp"

namespace vessa {


// The tabs' captions, page by page.
inline constexpr TextId kPageCaptions[] = {TextId::PageMonitors, TextId::PageAppearance, TextId::PageAbout};

// Control identifiers.
namespace settings_id {
inline constexpr int kOk = IDOK;
inline constexpr int kCancel = IDCANCEL;
inline constexpr int kLanguage = 100;
inline constexpr int kDisks = 101;
inline constexpr int kAdapter = 102;
inline constexpr int kBarWidth = 103;
inline constexpr int kInterval = 104;
inline constexpr int kBandHeight = 105;
inline constexpr int kShowTrack = 108;
inline constexpr int kDiskLamp = 109;
inline constexpr int kWeather = 110;
inline constexpr int kFullScale = 111;
inline constexpr int kAreaMode = 113;
inline constexpr int kPlaceName = 114;
inline constexpr int kSearch = 115;
inline constexpr int kMatches = 116;
inline constexpr int kCoordinates = 117;
inline constexpr int kPreview = 118;
inline constexpr int kScheme = 119;
inline constexpr int kFamily = 120;
inline constexpr int kTemperatureUnit = 121;
inline constexpr int kStartWithWindows = 122;
inline constexpr int kLampRead = 123;  // 123-125: read, write, both
inline constexpr int kDisplays = 126;
inline constexpr int kRotation = 127;
inline constexpr int kFirstItem = 200;    // 200-204: cpu, memory, disk, net, gpu
inline constexpr int kFirstSwatch = 300;  // 300-304: cpu, memory, disk, receive, gpu
inline constexpr int kFirstTab = 400;     // 400-402
}  // namespace settings_id

// A place search or device location has finished (posted by the lookup's worker).
inline constexpr UINT kPlaceLookupDone = WM_APP + 20;

class SettingsDialog : public Window<SettingsDialog> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaSettingsWindow";

  explicit SettingsDialog(const SettingsRequest& request);
  ~SettingsDialog();
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  // Registers the class, creates the window with its controls, centres and shows it.
  [[nodiscard]] bool open();
  // The configuration OK collected, taken out once.
  [[nodiscard]] std::optional<Config> take_result() noexcept { return std::exchange(result_, std::nullopt); }

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
  // The preview control's messages: the pointer over it shows the sample tooltip.
  LRESULT handle_control_message(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
  void on_window_gone() noexcept;

 private:

  // --- settings_pages_win.cpp
  void build_controls();
  void build_monitors_page(const SettingsMetrics& m, PageFlow& flow);
  void build_appearance_page(const SettingsMetrics& m, PageFlow& flow);
  void build_about_page(const SettingsMetrics& m, PageFlow& flow);
  HWND add_control(const wchar_t* class_name, std::string_view text, DWORD style, const ControlBox& box, int id,
                   DWORD ex_style = 0);
  HWND add_label(std::string_view text, const ControlBox& box);
  // A check box on the next row of `flow`, as wide as its label.
  HWND add_check_box(TextId label, PageFlow& flow, int id, bool checked, std::int32_t indent = 0);
  HWND add_combo(const ControlBox& box, int id, const std::vector<std::string>& items, std::size_t selected,
                 DWORD extra_style = 0);
  [[nodiscard]] std::int32_t text_width(std::string_view text) const;
  [[nodiscard]] std::string_view text(TextId id) const { return texts_->text(id); }
  [[nodiscard]] std::vector<std::string> texts(std::initializer_list<TextId> ids) const;

  // --- settings_dialog_win.cpp
  void on_command(int id, int code, HWND control);
  void show_page(int page);
  void scheme_changed();
  void taskbar_theme_changed();
  void update_scheme_controls();
  void enable_lamp_combos();
  void choose_swatch_color(std::size_t index);
  void open_check_list();
  void accept();
  void start_place_search();
  void start_device_location();
  void end_device_location();
  void show_working_coordinates();
  void place_lookup_done();
  void apply_match(std::size_t index);
  [[nodiscard]] SettingsControlValues read_controls() const;
  [[nodiscard]] Config collect() const;
  [[nodiscard]] HWND item(int id) const noexcept { return GetDlgItem(hwnd(), id); }
  void invalidate_preview() const noexcept;

  // --- settings_paint_win.cpp
  LRESULT on_draw_item(const DRAWITEMSTRUCT& draw);
  void draw_tab(const DRAWITEMSTRUCT& draw);
  void draw_swatch(const DRAWITEMSTRUCT& draw);
  void draw_lamp_item(const DRAWITEMSTRUCT& draw);
  void draw_preview(const DRAWITEMSTRUCT& draw);
  void show_sample_tooltip();
  void hide_sample_tooltip();

  // Opening
  Config working_;
  const TextTable* texts_;
  int page_ = 0;
  std::vector<std::string> disk_choices_;
  std::vector<bool> disk_selection_;
  std::vector<std::string> adapters_;
  std::optional<std::int32_t> band_limit_;
  bool taskbar_vertical_ = false;

  // Look
  SettingsPalette palette_;
  Rgb accent_;
  bool dark_ = false;
  UniqueHbrush window_brush_;
  UniqueHbrush control_brush_;
  UniqueHfont font_;
  UniqueHfont title_font_;  // the About page's title line
  std::uint32_t dpi_ = 96;
  WindowIcons icons_;

  // Colour slots
  Swatches swatches_{};
  std::array<Rgb, 3> lamp_colors_{};
  std::array<COLORREF, 16> custom_colors_{};

  struct RegisteredControl {
    HWND control = nullptr;
    unsigned mask = 0;
  };
  std::vector<RegisteredControl> controls_;
  unsigned building_mask_ = 7;

  CheckList check_list_;
  TooltipState tooltip_;
  bool tracking_preview_ = false;

  // Place search and device location
  PlaceLookup lookup_;
  std::vector<PlaceCandidate> candidates_;  // the matches list's entries, in order
  bool locating_ = false;                   // the newest request is a device location

  std::optional<Config> result_;
};

}  // namespace vessa
