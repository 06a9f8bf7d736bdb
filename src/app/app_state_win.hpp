#pragma once
// AppState: the running application. Start-up builds it once on the heap and hands it to the
// bar window as its creation parameter; the window keeps it in GWLP_USERDATA and releases it,
// with everything it owns, when the window is destroyed. Only the main thread touches it.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/startup_rules.hpp"
#include "app/tray_icon_win.hpp"
#include "base/unique_handle_win.hpp"
#include "config/colors.hpp"
#include "config/config.hpp"
#include "metrics/counter_sampler.hpp"
#include "metrics/sample.hpp"
#include "render/geometry.hpp"
#include "render/render_surface_win.hpp"
#include "render/tooltip_win.hpp"
#include "settings/ui_text.hpp"
#include "weather/weather_win.hpp"

namespace vessa {

// How the tooltip's orientation is chosen while hovering.
enum class TooltipOrientation : std::uint8_t { Horizontal = 0, Vertical = 1, FollowTaskbar = 2 };

struct AppState {
  // Configuration
  Config config;
  std::filesystem::path config_path;

  // Sampler and the figures of the last tick
  CounterSampler sampler;
  MetricSample last_sample;
  std::vector<std::string> drive_letters;  // behind the PhysicalDisk instances, at start-up

  // Taskbar and the bar window's last layout
  HWND taskbar = nullptr;
  RenderSurface surface;
  Placement placement;
  Geometry geometry;
  ResolvedColors colors;
  std::uint32_t container_dpi = 96;

  // Tooltip, tray icon, weather
  TooltipState tooltip;
  std::optional<TrayIcon> tray;
  WeatherState weather;

  // UI text table
  UiLanguage language = UiLanguage::English;
  const TextTable* texts = &ui_texts(UiLanguage::English);

  TimerPeriods timers;
  UINT taskbar_created_message = 0;

  // Flags
  bool has_sample = false;
  bool vertical = false;
  bool visible = true;
  bool hovering = false;
  AttachMode current_attach_mode = AttachMode::TrayOnly;

  // Hover overrides for the tooltip (set while the tray icon or a mirror is hovered).
  TooltipOrientation tooltip_orientation = TooltipOrientation::FollowTaskbar;
  std::optional<Placement> tooltip_anchor;  // screen pixels: x, y, width, height
  std::optional<std::uint32_t> tooltip_dpi;

  // Set once the bar window has taken ownership of this state (it deletes it on WM_DESTROY).
  bool owned_by_window = false;
  // The current bar window, and whether the program asked for it to go (Exit, WM_CLOSE). A
  // child window that goes without being asked went down with the taskbar (the shell
  // restarted) and is replaced instead of ending the program.
  HWND bar_window = nullptr;
  bool exit_requested = false;

  [[nodiscard]] bool english() const noexcept { return language == UiLanguage::English; }

  // Back to "not hovering": no overrides, orientation follows the taskbar.
  void reset_hover() noexcept {
    hovering = false;
    tooltip_anchor.reset();
    tooltip_dpi.reset();
    tooltip_orientation = TooltipOrientation::FollowTaskbar;
  }

  // Passes the shell's broadcasts on to a bar window that cannot receive them (a child of the
  // taskbar, a message-only window). Declared last so that it goes first.
  UniqueHwnd broadcast_listener;
};

}  // namespace vessa
