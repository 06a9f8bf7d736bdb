#pragma once
// AppState: the running application. Start-up builds it once and keeps it in a unique_ptr for
// the life of the message loop; the windows hold a non-owning pointer to it and never delete
// it. Only the main thread touches it, and only src/app knows it. Its parts are released in
// the order written out in tear_down (application_win.cpp), not by member order.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/bar_window_win.hpp"
#include "app/broadcast_listener_win.hpp"
#include "app/startup_rules.hpp"
#include "app/tray_icon_win.hpp"
#include "config/colors.hpp"
#include "config/config.hpp"
#include "metrics/counter_sampler.hpp"
#include "metrics/sample.hpp"
#include "render/geometry.hpp"
#include "render/mirror_set_win.hpp"
#include "render/render_surface_win.hpp"
#include "render/taskbar_buttons_win.hpp"
#include "render/taskbar_events_win.hpp"
#include "render/taskbar_follow.hpp"
#include "render/tooltip_win.hpp"
#include "render/weather_icon.hpp"
#include "settings/ui_text.hpp"
#include "weather/weather_win.hpp"

namespace vessa {

// How the tooltip's orientation is chosen while hovering.
enum class TooltipOrientation : std::uint8_t { Horizontal = 0, Vertical = 1, FollowTaskbar = 2 };

struct AppState {
  // Configuration
  Config config;
  std::filesystem::path config_path;
  bool config_unread = false;  // the file could not be read at start and has not been saved over since

  // Sampler and the figures of the last tick
  CounterSampler sampler;
  std::optional<MetricSample> last_sample;  // none before the first tick of the current query
  std::vector<std::string> drive_letters;  // behind the PhysicalDisk instances, at start-up (the tooltip
                                           // uses the sampler's disks instead while it lists some)

  // Taskbar and the bar window's last layout
  HWND taskbar = nullptr;
  RenderSurface surface;
  Placement placement;
  Geometry geometry;
  ResolvedColors colors;
  std::uint32_t container_dpi = 96;
  bool laid_out = false;  // a layout has been stored since the window was made

  // Following the taskbars between layouts: what the last layout over the primary taskbar was
  // made for, the shell's events that ask for a look at once (posted to the bar window), and
  // the looks again shortly after the last of them.
  std::optional<TaskbarShape> laid_out_over;
  TaskbarEventHooks taskbar_events{[this] {
    HWND window = bar_window();
    return window != nullptr && PostMessageW(window, kTaskbarEventMessage, 0, 0) != 0;
  }};
  RecheckSchedule taskbar_rechecks;

  // The taskbar's buttons, which the bars keep clear of: the scanner that finds them off this
  // thread, what its newest scan found on each taskbar, and whether they leave the bars on the
  // primary taskbar too little room to be shown at all.
  TaskbarButtonScanner button_scanner;
  std::vector<TaskbarElements> taskbar_elements;
  bool crowded_out = false;

  // Tooltip, tray icon, mirrors, weather
  TooltipState tooltip;
  std::optional<TrayIcon> tray;
  MirrorSet mirrors;
  WeatherState weather;
  WeatherIconCache weather_icons;  // the icon's masks for the bars' renderer

  UiLanguage language = UiLanguage::English;

  TimerPeriods timers;
  UINT taskbar_created_message = 0;

  // Flags
  bool vertical = false;
  bool visible = true;
  bool hovering = false;
  AttachMode current_attach_mode = AttachMode::TrayOnly;

  // Hover overrides for the tooltip (set while the tray icon or a mirror is hovered).
  TooltipOrientation tooltip_orientation = TooltipOrientation::FollowTaskbar;
  std::optional<Placement> tooltip_anchor;  // screen pixels: x, y, width, height
  std::optional<std::uint32_t> tooltip_dpi;

  // The program was asked to end (Exit, WM_CLOSE, a failed message loop). A child window that
  // goes without being asked went down with the taskbar (the shell restarted) and is
  // replaced instead of ending the program.
  bool exit_requested = false;

  // The bar window, and the hidden top-level window that passes the shell's broadcasts on to
  // it when it cannot hear them itself (a child of the taskbar, a message-only window).
  std::unique_ptr<BarWindow> bar;
  std::unique_ptr<BroadcastListener> broadcast_listener;

  // Whether the bar window is to be seen: the user's choice, unless the buttons crowd it out.
  [[nodiscard]] bool bars_shown() const noexcept { return visible && !crowded_out; }
  // The current bar window's handle; null once it is gone.
  [[nodiscard]] HWND bar_window() const noexcept { return bar ? bar->hwnd() : nullptr; }
  // The UI texts: always the table of the current language.
  [[nodiscard]] const TextTable& texts() const noexcept { return ui_texts(language); }

  // Back to "not hovering": no overrides, orientation follows the taskbar.
  void reset_hover() noexcept {
    hovering = false;
    tooltip_anchor.reset();
    tooltip_dpi.reset();
    tooltip_orientation = TooltipOrientation::FollowTaskbar;
  }
};

}  // namespace vessa
