#include "base/window_win.hpp"

#include <cstdio>

namespace vessa {

void report_window_exception(UINT message, const char* what) noexcept {
  if (!debug::enabled()) return;
  try {
    char number[16];
    std::snprintf(number, sizeof(number), "0x%04X", message);
    debug::line(std::string("メッセージの処理を中断しました (") + number + "): " + what);
  } catch (...) {
    // No memory even for the line: the message's work has ended all the same.
  }
}

bool track_mouse_leave(HWND window) noexcept {
  TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
  if (!TrackMouseEvent(&track)) return false;
  TRACKMOUSEEVENT armed{sizeof(TRACKMOUSEEVENT), TME_QUERY, nullptr, 0};
  return TrackMouseEvent(&armed) && (armed.dwFlags & TME_LEAVE) != 0 && armed.hwndTrack == window;
}

}  // namespace vessa
