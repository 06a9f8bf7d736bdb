#include "app/bar_controller_win.hpp"

#include <chrono>
#include <vector>

#include "base/debug_output.hpp"
#include "config/theme_win.hpp"
#include "metrics/metrics_win.hpp"
#include "render/bar_drawing_win.hpp"
#include "render/bar_frame.hpp"
#include "render/gdi_win.hpp"
#include "render/placement.hpp"
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

void layout(AppState& state) {
  HWND window = state.bar_window();
  if (window == nullptr) return;
  if (state.current_attach_mode == AttachMode::TrayOnly) {
    state.colors = resolve_colors(state.config.appearance, taskbar_is_dark());
    (void)state.mirrors.update(state.config, state.current_attach_mode, state.visible);
    watch_taskbars(state);
    return;
  }
  if (state.taskbar == nullptr) return;
  const std::optional<RECT> container = container_of(state);
  if (!container) return;  // the previous placement stays
  state.laid_out_over = taskbar_rect(state.taskbar);
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
  const bool mirrors_changed = state.mirrors.update(state.config, state.current_attach_mode, state.visible);
  watch_taskbars(state);

  // Placement and geometry can come out equal at another DPI (both capped); the lamps, the
  // weather icon and the text are drawn at the DPI, so a new DPI alone redraws too.
  if (state.laid_out && result.geometry == state.geometry && result.placement == state.placement &&
      vertical == state.vertical && dpi == state.container_dpi && colors == state.colors && !mirrors_changed) {
    return;  // a steady taskbar costs no drawing
  }
  state.laid_out = true;
  state.geometry = result.geometry;
  state.placement = result.placement;
  state.vertical = vertical;
  state.container_dpi = dpi;
  state.colors = colors;
  if (debug::enabled()) {
    debug::line(format_relayout_line(state.current_attach_mode, vertical, dpi, box, result.geometry, result.placement));
  }
  draw_and_push(state);
}

void follow_taskbars(AppState& state) {
  bool moved = false;
  HWND window = state.bar_window();
  if (window != nullptr && state.current_attach_mode == AttachMode::Overlay && state.taskbar != nullptr) {
    moved = follow_taskbar(window, state.taskbar, state.laid_out_over);
  }
  if (state.mirrors.follow()) moved = true;
  if (moved) layout(state);
}

void taskbar_event_heard(AppState& state) {
  state.taskbar_events.taken();
  follow_taskbars(state);
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
