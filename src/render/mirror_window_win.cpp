#include "render/mirror_window_win.hpp"

#include "render/mirror_set_win.hpp"

namespace vessa {

bool MirrorWindow::create_window() noexcept {
  return create(WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                WS_POPUP | WS_VISIBLE, L"VESSA", 0, 0, 1, 1, nullptr) != nullptr;
}

MirrorWindow::~MirrorWindow() {
  if (MirrorEvents* events = set_.events(); events != nullptr && has_window()) events->mirror_gone(hwnd());
}

LRESULT MirrorWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  MirrorEvents* events = set_.events();
  switch (message) {
    case WM_DESTROY:
      // Closed by another program (the program's own end of the window detaches it first).
      if (events != nullptr) events->mirror_gone(hwnd());
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
      // The command chosen may destroy this window (Exit, a relayout): nothing of it is
      // touched after the call.
      if (events != nullptr) events->mirror_menu();
      return 0;
    case WM_MOUSEMOVE: {
      // A move handled once the pointer has gone hovers nothing: no leave would end that hover.
      if (!track_mouse_leave(hwnd())) return 0;
      const MirrorRecord* record = set_.list().find(taskbar_);
      if (record != nullptr && events != nullptr) {
        events->mirror_hovered(hwnd(), record->placement, record->dpi, record->vertical);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (events != nullptr) events->mirror_left();
      return 0;
    default:
      return default_handling(message, wparam, lparam);
  }
}

}  // namespace vessa
