#include "render/mirrors_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {

void raise_mirrors(AppState& /*state*/) {}

bool update_mirrors(AppState& /*state*/, HWND /*bar_window*/) { return false; }

void draw_mirrors(AppState& /*state*/) {}

}  // namespace vessa
