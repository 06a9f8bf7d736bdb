#pragma once
// The window world the mirrors live in, as seen by the mirror list: which secondary taskbars
// exist, where each one's band, window and notification area are, its DPI and its clock area,
// and the mirror windows made and destroyed over them. The Win32 side (mirror_set_win.cpp)
// answers from the real windows; the host tests answer from a script
// (tests/support/mirror_scripted_world.hpp). Main thread only.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "render/geometry.hpp"
#include "render/taskbar_buttons.hpp"

namespace vessa {

// A secondary taskbar's identity: its window handle as a number, never dereferenced here.
using TaskbarId = std::uintptr_t;
using MirrorClock = std::chrono::steady_clock;

class MirrorWorld {
 public:
  virtual ~MirrorWorld() = default;

  // The secondary taskbars in the order the system lists them, at most `limit`.
  [[nodiscard]] virtual std::vector<TaskbarId> secondary_taskbars(std::size_t limit) = 0;
  // The strip of the taskbar's display that the taskbar takes (screen coordinates); none when
  // it cannot be had.
  [[nodiscard]] virtual std::optional<Rect> taskbar_band(TaskbarId taskbar) = 0;
  // The taskbar's window rectangle (screen coordinates); none when the window is gone.
  [[nodiscard]] virtual std::optional<Rect> taskbar_rect(TaskbarId taskbar) = 0;
  // The taskbar's own notification area (screen coordinates), where it has one.
  [[nodiscard]] virtual std::optional<Rect> notification_area(TaskbarId taskbar) = 0;
  // The taskbar's DPI as the system reports it; 0 when it reports none.
  [[nodiscard]] virtual std::uint32_t taskbar_dpi(TaskbarId taskbar) = 0;
  // Where the taskbar's clock and notification icons are (screen coordinates), if anywhere.
  [[nodiscard]] virtual std::optional<Rect> find_clock_area(TaskbarId taskbar) = 0;
  // What the newest scan of the taskbar's buttons found (screen coordinates); nothing before
  // the first scan or where the scan failed.
  [[nodiscard]] virtual std::vector<AutomationElement> taskbar_elements(TaskbarId taskbar) = 0;
  // Makes the mirror window over `taskbar`: shown without activation (hidden at once when
  // `visible` is false) and raised over the taskbar. False when no window could be made.
  [[nodiscard]] virtual bool create_mirror(TaskbarId taskbar, bool visible) = 0;
  // Destroys the mirror window over `taskbar` with everything it owns.
  virtual void destroy_mirror(TaskbarId taskbar) = 0;
  [[nodiscard]] virtual MirrorClock::time_point now() = 0;
};

}  // namespace vessa
