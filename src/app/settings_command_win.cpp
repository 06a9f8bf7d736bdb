#include "app/settings_command_win.hpp"

#include <windows.h>

#include <utility>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "base/debug_output.hpp"
#include "config/config_file.hpp"
#include "settings/settings_window_win.hpp"

namespace vessa {

void open_settings(AppState& state) {
  SettingsOutcome outcome = run_settings_window(SettingsRequest{state.config, state.language});
  // The loop saw WM_QUIT: the bar window is gone and the program is ending; apply nothing.
  if (outcome.quit || !outcome.accepted.has_value()) return;
  apply_settings(state, std::move(*outcome.accepted));
}

void apply_settings(AppState& state, Config accepted) {
  state.config = std::move(accepted);
  take_in_config(state);
  start_weather_fetch(state);

  layout(state);
  take_sample(state);
  take_sample(state);

  if (const Status saved = save_config(state.config, state.config_path); !saved) {
    debug::line("設定の保存に失敗: " + saved.error().full_text());
  }
}

}  // namespace vessa
