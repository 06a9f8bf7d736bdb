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

}  // namespace vessa
