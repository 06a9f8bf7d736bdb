#pragma once
// The settings window (class VessaSettingsWindow): three pages of controls over a working copy
// of the configuration, a live preview drawn by the bar renderer and a sample tooltip over
// it. The window runs its own loop on the calling thread and hands the collected
// configuration back; the caller applies it. Nothing here sees the running application.

#include <optional>

#include "config/config.hpp"
#include "settings/ui_text.hpp"

namespace vessa {

struct SettingsRequest {
  Config config;        // the live configuration; the working copy starts from it
  UiLanguage language;  // the table in use now
};

struct SettingsOutcome {
  std::optional<Config> accepted;  // OK pressed: the collected configuration
  bool quit = false;               // the loop saw WM_QUIT (it has been posted again); apply nothing
};

// Opens VessaSettingsWindow and runs its loop on this thread until the window has gone.
// When one is already open (a second "Settings..." from the menu the loop keeps serving),
// brings it to the front and returns at once with nothing accepted. OK also makes the
// start-with-Windows registration match its check box.
[[nodiscard]] SettingsOutcome run_settings_window(const SettingsRequest& request);

}  // namespace vessa
