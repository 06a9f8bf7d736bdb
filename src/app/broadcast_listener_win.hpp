#pragma once
// The shell announces a restart (TaskbarCreated) and setting and display changes by
// broadcasting to top-level windows. A bar window that is a child of the taskbar or a
// message-only window never hears them, so for those a hidden top-level window listens and
// passes each one on to the current bar window. Being top-level, it also owns the context
// menu for such a bar window (a menu's owner must be able to come to the foreground).

#include "base/unique_handle_win.hpp"

namespace vessa {

struct AppState;

inline constexpr wchar_t kBroadcastListenerClass[] = L"VessaBroadcastWindow";

// A hidden top-level window that forwards TaskbarCreated, WM_SETTINGCHANGE and
// WM_DISPLAYCHANGE to state.bar_window. `state` must outlive the window (it owns it).
[[nodiscard]] UniqueHwnd create_broadcast_listener(AppState& state);

}  // namespace vessa
