#pragma once
// Mirrors of the bars on the taskbars of secondary displays. The application keeps one
// MirrorSet and calls it where the mirrors take part: z-order on every attach, their own
// placement on every layout, their drawing after the bar window's.
//
// There are no mirror windows yet: the set keeps the call points in place.

#include <windows.h>

namespace vessa {

class MirrorSet {
 public:
  // Puts every mirror back above its secondary taskbar.
  void raise() noexcept {}
  // Keeps one mirror per secondary taskbar and places each; true when any mirror was
  // created, destroyed or moved, so that the caller redraws.
  [[nodiscard]] bool update(HWND /*bar_window*/, bool /*wanted*/) noexcept { return false; }
  // Shows or hides every mirror with the bars.
  void set_visible(bool /*visible*/) noexcept {}
};

}  // namespace vessa
