#pragma once
// What a mirror's pointer and menu messages do in the running application: hovering shows
// the tooltip against that mirror at its display's DPI and orientation, leaving hides it, and
// a right click opens the bars' own menu.

#include <memory>

#include "render/mirror_set_win.hpp"

namespace vessa {

struct AppState;

[[nodiscard]] std::unique_ptr<MirrorEvents> make_mirror_events(AppState& state);

}  // namespace vessa
