#include "render/tooltip_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {

void refresh_tooltip(AppState& /*state*/) {}

void hide_tooltip(AppState& state) {
  if (state.tooltip.window != nullptr) {
    DestroyWindow(state.tooltip.window);
    state.tooltip.window = nullptr;
  }
}

}  // namespace vessa
