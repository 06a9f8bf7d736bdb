#pragma once
// The "Settings..." command: opens the settings window over the live configuration and, when
// it is accepted, applies the new configuration to the running bar and saves it.

#include "config/config.hpp"

namespace vessa {

struct AppState;

// Runs the settings window on this thread until it closes, then applies an accepted
// configuration. Nothing is applied when the loop saw the program being asked to end.
void open_settings(AppState& state);

// Replaces the live configuration with `accepted` and brings everything that depends on it up
// to date: colours, counters, language, update timer, weather, layout; then saves the file.
void apply_settings(AppState& state, Config accepted);

}  // namespace vessa
