#include "render/bar_drawing_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {

void draw_and_push(AppState& /*state*/, HWND /*bar_window*/) {}

}  // namespace vessa
