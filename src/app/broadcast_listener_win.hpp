#pragma once
// The shell announces a restart (TaskbarCreated) and setting, display and DPI changes, and the
// system a resume from sleep, by sending or broadcasting to top-level windows. A bar window that is a child of the taskbar or
// a message-only window never hears them, so for those a hidden top-level window listens and
// passes each one on to the current bar window. Being top-level, it also owns the context
// menu for such a bar window (a menu's owner must be able to come to the foreground), and it
// is what another program closes to end the program: it closes the bar window then.

#include <windows.h>

#include "base/window_win.hpp"

namespace vessa {

struct AppState;

class BroadcastListener : public Window<BroadcastListener> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaBroadcastWindow";
  // Nothing is ever shown, so no cursor either.
  static HCURSOR class_cursor() noexcept { return nullptr; }

  // Creates the hidden window; `state` must outlive it (the state owns the listener).
  // has_window() is false when it could not be made.
  explicit BroadcastListener(const AppState& state) noexcept;

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  const AppState& state_;
};

}  // namespace vessa
