#include "app/bar_controller_win.hpp"

#include <chrono>
#include <vector>

#include "base/debug_output.hpp"
#include "config/theme_win.hpp"
#include "metrics/metrics_win.hpp"
#include "render/bar_drawing_win.hpp"
#include "render/bar_frame.hpp"
#include "render/gdi_win.hpp"
#include "render/obstacle_fit.hpp"
#include "render/placement.hpp"
#include "render/taskbar_buttons.hpp"
#include "render/taskbar_win.hpp"

namespace vessa {
namespace {

// The rectangle the bars are placed in: the taskbar's client area for a child, else the
// taskbar's band on its monitor.
std::optional<RECT> container_of(const AppState& state) {
  if (state.current_attach_mode == AttachMode::Child) {
    RECT client{};
    if (!GetClientRect(state.taskbar, &client)) return std::nullopt;
    return client;
  }
  return taskbar_band(state.taskbar);
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

// Listens for the shell's events about the taskbars the bars are now laid over.
void watch_taskbars(AppState& state) {
  std::vector<HWND> taskbars = state.mirrors.taskbars();
  if (state.current_attach_mode == AttachMode::Overlay && state.taskbar != nullptr) taskbars.push_back(state.taskbar);
  state.taskbar_events.watch(taskbars);
}

void set_recheck_timer(const AppState& state, std::chrono::milliseconds delay) {
  HWND window = state.bar_window();
  if (window != nullptr) SetTimer(window, kTaskbarRecheckTimer, static_cast<UINT>(delay.count()), nullptr);
}

// A scan that waits for the one before it starts from timer 6.
void set_button_scan_timer(const AppState& state) {
  HWND window = state.bar_window();
  const auto wait = state.button_scanner.pending_in(TaskbarButtonScanner::Clock::now());
  if (window == nullptr || !wait) return;
  SetTimer(window, kButtonScanTimer, static_cast<UINT>(std::max<std::chrono::milliseconds::rep>(wait->count(), 1)),
           nullptr);
}

// Asks for a scan of the buttons on the taskbars the bars and the mirrors lie on.
void request_button_scan(AppState& state) {
  HWND window = state.bar_window();
  if (window == nullptr || state.current_attach_mode == AttachMode::TrayOnly || state.taskbar == nullptr) return;
  std::vector<HWND> taskbars = state.mirrors.taskbars();
  taskbars.insert(taskbars.begin(), state.taskbar);
  state.button_scanner.request(std::move(taskbars), window, kButtonScanMessage, TaskbarButtonScanner::Clock::now());
  set_button_scan_timer(state);
}

// What the newest scan found on the primary taskbar: none before its first scan; an empty
// list where the scan failed (no UI Automation, a shell that did not answer), so that the bars
// stand as they would without the scan.
std::optional<std::vector<AutomationElement>> scanned_elements(const AppState& state) {
  for (const TaskbarElements& scanned : state.taskbar_elements) {
    if (scanned.taskbar == state.taskbar) return scanned.elements.value_or(std::vector<AutomationElement>{});
  }
  return std::nullopt;
}

// The taskbar's buttons in the coordinates the bars are placed in (a child's are the
// taskbar's client coordinates).
std::vector<Rect> buttons_in_container(const AppState& state, const std::vector<AutomationElement>& elements) {
  RECT taskbar{};
  if (elements.empty() || !GetWindowRect(state.taskbar, &taskbar)) return {};
  std::optional<Rect> tray;
  if (const auto area = notification_area_rect(state.taskbar)) tray = to_rect(*area);
  std::vector<Rect> buttons = taskbar_obstacles(elements, to_rect(taskbar), tray);
  POINT origin{0, 0};
  if (state.current_attach_mode == AttachMode::Child && ClientToScreen(state.taskbar, &origin)) {
    for (Rect& button : buttons) button = Rect{button.left - origin.x, button.top - origin.y,
                                               button.right - origin.x, button.bottom - origin.y};
  }
  return buttons;
}

// Lays out as layout() does; a layout that changed something, or the first over a taskbar,
// asks for a scan of its buttons unless it is the scan's own.
void lay_out(AppState& state, bool may_scan);

std::uint8_t weather_icon_kind(const WeatherState& weather) noexcept {
  return weather.condition ? static_cast<std::uint8_t>(*weather.condition) : kNoIcon;
}

}  // namespace

void take_in_config(AppState& state) {
  state.language = resolve_ui_language(state.config.general.language, GetUserDefaultUILanguage());
  state.colors = resolve_colors(state.config.appearance, taskbar_is_dark());
  // The same sampler, its query rebuilt: lit lamps keep their hold, and the frequency read at
  // start-up stays. The last figures belonged to the old query.
  state.sampler.open_counters(state.config);
  state.last_sample.reset();
  set_bar_timers(state.bar_window(), state.timers, state.config);
}

void take_sample(AppState& state) {
  // The first sample of a query replaces an empty one and always counts as changed.
  const bool had_sample = state.last_sample.has_value();
  MetricSample& stored = had_sample ? *state.last_sample : state.last_sample.emplace();
  if (!state.sampler.sample(state.config.metrics, read_tick_readings(), stored, had_sample)) return;
  draw_and_push(state);
  if (state.hovering) refresh_tooltip(state);
}

void on_update_tick(AppState& state) {
  follow_taskbars(state);
  take_sample(state);
  drain_weather_results(state);
}

void draw_and_push(AppState& state) {
  HWND window = state.bar_window();
  if (window == nullptr || !state.last_sample || state.current_attach_mode == AttachMode::TrayOnly) return;
  const std::optional<VerticalRotation> rotation =
      state.vertical ? std::optional<VerticalRotation>(state.config.layout.vertical_rotation) : std::nullopt;
  const FrameModel frame =
      build_frame(state.config, state.colors, *state.last_sample, state.geometry, state.placement.width,
                  state.placement.height, state.container_dpi, weather_icon_kind(state.weather), rotation);
  push_frame(state.surface, window, state.placement, frame, &state.weather_icons);
  // Each mirror after the bar window, with its own geometry, size, DPI and orientation.
  state.mirrors.draw(
      [&](const MirrorRecord& mirror) {
        const std::optional<VerticalRotation> turned =
            mirror.vertical ? std::optional<VerticalRotation>(state.config.layout.vertical_rotation) : std::nullopt;
        return build_frame(state.config, state.colors, *state.last_sample, mirror.geometry, mirror.placement.width,
                           mirror.placement.height, mirror.dpi, weather_icon_kind(state.weather), turned);
      },
      &state.weather_icons);
}

void show_or_hide_bars(AppState& state) {
  if (HWND window = state.bar_window()) {
    const bool taskbar_hidden = state.current_attach_mode == AttachMode::Overlay && state.taskbar != nullptr &&
                                !IsWindowVisible(state.taskbar);
    ShowWindow(window, state.bars_shown() && !taskbar_hidden ? SW_SHOWNA : SW_HIDE);
  }
  state.mirrors.set_visible(state.visible);
}

void attach(AppState& state) {
  HWND window = state.bar_window();
  if (window == nullptr) return;
  HWND taskbar = find_taskbar();
  if (taskbar == nullptr) {
    state.taskbar = nullptr;
  } else {
    const bool is_new = taskbar != state.taskbar;
    if (is_new) {
      state.taskbar = taskbar;
      // Over or in a new taskbar the window may have lost what it showed: the next frame is
      // pushed in full. A steady taskbar costs no drawing.
      state.surface.forget_pushed();
    }
    switch (state.current_attach_mode) {
      case AttachMode::Child:
        if (GetParent(window) != taskbar && IsWindow(taskbar) && SetParent(window, taskbar) != nullptr) {
          state.surface.forget_pushed();  // a new parent shows nothing of the old frame
          // Moving in from the message-only parent (after a shell restart) may leave the window
          // hidden; it shows exactly when the bars do.
          ShowWindow(window, state.visible ? SW_SHOWNA : SW_HIDE);
        }
        break;
      case AttachMode::Overlay:
        raise_over(window, taskbar);
        break;
      case AttachMode::TrayOnly:
        break;
    }
  }
  state.mirrors.raise();
  layout(state);
}

void layout(AppState& state) { lay_out(state, true); }

namespace {

void lay_out(AppState& state, bool may_scan) {
  HWND window = state.bar_window();
  if (window == nullptr) return;
  if (state.current_attach_mode == AttachMode::TrayOnly) {
    state.colors = resolve_colors(state.config.appearance, taskbar_is_dark());
    (void)state.mirrors.update(state.config, state.current_attach_mode, state.visible);
    watch_taskbars(state);
    return;
  }
  if (state.taskbar == nullptr || !container_of(state)) return;  // the previous placement stays

  // The mirrors' clock search lets messages through, and one of them may lay out again (a
  // look, a timer, a setting change) and store a newer placement. So the primary taskbar is
  // read after the mirrors' update: whatever ran inside it, what is stored here is current.
  const bool mirrors_changed = state.mirrors.update(state.config, state.current_attach_mode, state.visible);
  watch_taskbars(state);
  if (state.taskbar == nullptr) return;
  const std::optional<RECT> container = container_of(state);
  if (!container) {
    if (mirrors_changed) draw_and_push(state);
    return;
  }
  const bool tray_left =
      state.current_attach_mode == AttachMode::Overlay && state.config.layout.anchor == Anchor::TrayLeft;
  state.laid_out_over = taskbar_shape(state.taskbar, tray_left);
  const std::uint32_t dpi = window_dpi(state.taskbar);

  // In child mode the bar lives in the taskbar's client area, where tray_left places like right.
  std::optional<Rect> tray;
  if (state.current_attach_mode == AttachMode::Overlay) {
    if (const auto area = notification_area_rect(state.taskbar)) tray = to_rect(*area);
  }
  const Rect box = to_rect(*container);
  const bool vertical = box.width() < box.height();
  const PlacementResult result = compute_placement(state.config, box, dpi, state.config.metrics.items.size(), tray);
  const ResolvedColors colors = resolve_colors(state.config.appearance, taskbar_is_dark());

  // Clear of the taskbar's buttons: shortened from the end away from the anchor, or hidden when
  // too little would be left. Where nothing overlaps, the placement is the one computed.
  const std::optional<std::vector<AutomationElement>> elements = scanned_elements(state);
  const std::vector<Rect> buttons = elements ? buttons_in_container(state, *elements) : std::vector<Rect>{};
  const std::optional<Placement> fitted =
      fit_beside_obstacles(result.placement, vertical, state.config.layout.anchor, buttons,
                           obstacle_rule(state.config, result.geometry, dpi), state.crowded_out);
  const Placement placement = fitted.value_or(result.placement);
  const bool crowded_out = !fitted;

  // Placement and geometry can come out equal at another DPI (both capped); the lamps, the
  // weather icon and the text are drawn at the DPI, so a new DPI alone redraws too.
  if (state.laid_out && result.geometry == state.geometry && placement == state.placement &&
      vertical == state.vertical && dpi == state.container_dpi && colors == state.colors && !mirrors_changed &&
      crowded_out == state.crowded_out) {
    if (may_scan && !elements) request_button_scan(state);
    return;  // a steady taskbar costs no drawing
  }
  state.laid_out = true;
  state.geometry = result.geometry;
  state.placement = placement;
  state.vertical = vertical;
  state.container_dpi = dpi;
  state.colors = colors;
  if (crowded_out != state.crowded_out) {
    state.crowded_out = crowded_out;
    show_or_hide_bars(state);
  }
  if (debug::enabled() && !crowded_out) {
    debug::line(format_relayout_line(state.current_attach_mode, vertical, dpi, box, result.geometry, placement));
  }
  draw_and_push(state);
  if (may_scan) request_button_scan(state);
}

}  // namespace

void follow_taskbars(AppState& state) {
  bool moved = false;
  HWND window = state.bar_window();
  const bool tray_left = state.config.layout.anchor == Anchor::TrayLeft;
  if (window != nullptr && state.current_attach_mode == AttachMode::Overlay && state.taskbar != nullptr) {
    moved = follow_taskbar(window, state.taskbar, state.laid_out_over, tray_left, state.bars_shown());
  }
  if (state.mirrors.follow(state.visible, tray_left)) moved = true;
  if (moved) layout(state);
}

void taskbar_event_heard(AppState& state) {
  state.taskbar_events.taken();
  follow_taskbars(state);
  if (state.taskbar_events.take_content_changed()) request_button_scan(state);
  set_recheck_timer(state, state.taskbar_rechecks.on_event());
}

void recheck_taskbars(AppState& state) {
  if (const auto next = state.taskbar_rechecks.on_timer()) {
    set_recheck_timer(state, *next);
  } else if (HWND window = state.bar_window()) {
    KillTimer(window, kTaskbarRecheckTimer);
  }
  follow_taskbars(state);
}

void button_scan_finished(AppState& state) {
  if (std::optional<std::vector<TaskbarElements>> scan = state.button_scanner.take_finished()) {
    state.mirrors.set_taskbar_elements(*scan);
    state.taskbar_elements = std::move(*scan);
  }
  set_button_scan_timer(state);
  lay_out(state, false);
}

void start_pending_button_scan(AppState& state) {
  if (HWND window = state.bar_window()) {
    state.button_scanner.start_pending(window, kButtonScanMessage, TaskbarButtonScanner::Clock::now());
  }
}

void refresh_tooltip(AppState& state) {
  if (!state.last_sample) return;
  if (!state.visible && !state.tooltip_anchor) return;

  const std::vector<DriveUsage>& drives = state.tooltip.drive_usage.refresh(std::chrono::steady_clock::now(), [&] {
    // With the lamp on, the sampler follows the disks as they come and go.
    const std::vector<PhysicalDiskEntry>& disks = state.sampler.physical_disks();
    const std::vector<std::string> letters = disks.empty() ? state.drive_letters : all_drive_letters(disks);
    return query_drive_usage(tooltip_drive_names(state.config.metrics.disk_instances, letters), query_free_space);
  });
  const TooltipTexts texts = tooltip_texts(state.texts());
  const DiskText disk = disk_text(drives, state.last_sample->disk_busy_percent, texts);
  std::vector<TooltipRow> rows = build_tooltip_rows(TooltipInputs{*state.last_sample, state.colors, disk,
                                                                  state.weather.reading, texts,
                                                                  state.config.weather.temperature_unit});

  const Placement anchor = state.tooltip_anchor ? *state.tooltip_anchor : bar_anchor(state);
  const std::uint32_t dpi = state.tooltip_dpi ? *state.tooltip_dpi : state.container_dpi;
  bool vertical = state.vertical;
  if (state.tooltip_orientation == TooltipOrientation::Horizontal) vertical = false;
  if (state.tooltip_orientation == TooltipOrientation::Vertical) vertical = true;
  show_tooltip(state.tooltip, state.config, anchor, dpi, vertical, std::move(rows));
}

void hide_tooltip(AppState& state) { hide_tooltip(state.tooltip); }

void start_weather_fetch(AppState& state) {
  const Weather& weather = state.config.weather;
  if (!weather_fetch_configured(weather)) {
    state.weather.clear();
    return;
  }
  start_fetch(state.weather, *weather.latitude, *weather.longitude);
}

void drain_weather_results(AppState& state) {
  if (!drain(state.weather, state.config.weather)) return;
  draw_and_push(state);
  if (state.hovering) refresh_tooltip(state);
}

}  // namespace vessa
