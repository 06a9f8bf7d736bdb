#include "app/settings_command_win.hpp"

#include <windows.h>

#include <utility>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "app/startup_rules.hpp"
#include "base/debug_output.hpp"
#include "config/config_file.hpp"
#include "config/theme_win.hpp"
#include "settings/settings_window_win.hpp"

namespace vessa {

void open_settings(AppState& state) {
  SettingsOutcome outcome = run_settings_window(SettingsRequest{state.config, state.language});
  // The loop saw WM_QUIT: the bar window is gone and the program is ending; apply nothing.
  if (outcome.quit || !outcome.accepted.has_value()) return;
  apply_settings(state, std::move(*outcome.accepted));
}

void apply_settings(AppState& state, Config accepted) {
  const Language previous_language = state.config.general.language;
  state.config = std::move(accepted);

  state.colors = resolve_colors(state.config.appearance, taskbar_is_dark());

  // The same sampler, its query rebuilt: lit lamps keep their hold, and the frequency read at
  // start-up stays.
  state.sampler.open_counters(state.config);
  state.last_sample = MetricSample{};
  state.has_sample = false;

  if (state.config.general.language != previous_language) {
    state.language = resolve_ui_language(state.config.general.language, GetUserDefaultUILanguage());
    state.texts = &ui_texts(state.language);
  }

  set_bar_timers(state.bar_window(), state.timers, state.config);

  if (weather_fetch_configured(state.config.weather)) {
    start_weather_fetch(state);
  } else {
    state.weather.clear();
  }

  layout(state);
  take_sample(state);
  take_sample(state);

  if (const Status saved = save_config(state.config, state.config_path); !saved) {
    debug::line("設定の保存に失敗: " + saved.error().full_text());
  }
}

}  // namespace vessa
