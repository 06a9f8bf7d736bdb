#include "app/settings_command_win.hpp"

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "app/message_box_win.hpp"
#include "base/debug_output.hpp"
#include "base/path_text.hpp"
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

  const AcceptedSave saved = save_accepted_config(state.config, state.config_path, state.config_unread);
  if (saved.kept) debug::line("上書きする前の設定ファイルを保存しました: " + path_to_utf8(*saved.kept));
  if (saved.written) {
    state.config_unread = false;
    return;
  }
  const Error& error = saved.written.error();
  debug::line("設定の保存に失敗: " + error.full_text());
  // The user learns at once that the settings will not come back at the next start, and why:
  // the file, then the system's reason (the chain below our own message, which only names the
  // file again).
  const TextTable& texts = state.texts();
  const std::string_view lead =
      texts.text(saved.old_file_left ? TextId::UnreadFileNotOverwritten : TextId::SaveFailed);
  const std::string reason = error.cause() != nullptr ? error.cause()->full_text() : error.message();
  show_message(texts.text(TextId::MessageTitle),
               std::string(lead) + "\n\n" + path_to_utf8(state.config_path) + "\n\n" + reason);
}

}  // namespace vessa
