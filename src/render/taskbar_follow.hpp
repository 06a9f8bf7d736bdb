#pragma once
// Keeping a window on its taskbar between layouts. A click on the taskbar lifts it over the
// bars, a full-screen program takes it out of the topmost band, an auto-hiding taskbar slides
// away and back: one cheap look at the taskbar (taskbar_win.hpp) says what changed, and
// follow_steps says what it takes to put the window back. The look runs on every update tick
// and when the shell's events say a taskbar may have moved (taskbar_events_win.hpp); these
// are plain values, the Win32 side applies them.

#include <chrono>
#include <optional>
#include <vector>

#include "render/geometry.hpp"

namespace vessa {

// What a layout over a taskbar was made for: the taskbar's window rectangle and, where the bars
// end before it (anchor tray_left), its notification area; none when it has none.
struct TaskbarShape {
  Rect taskbar;
  std::optional<Rect> notification_area;

  friend bool operator==(const TaskbarShape&, const TaskbarShape&) = default;
};

// What one look at a taskbar and the window laid over it shows.
struct TaskbarLook {
  Rect taskbar;                   // the taskbar's window rectangle, screen coordinates
  bool taskbar_topmost = false;   // the taskbar is in the topmost band
  bool window_topmost = false;    // so is the window over it
  // Walking up the z-order from the taskbar reaches the window.
  bool window_above = false;
  // The notification area, read only where the bars end before it; none otherwise.
  std::optional<Rect> notification_area;
  bool taskbar_visible = true;  // a tool or tablet mode may hide the taskbar
  Rect window;                  // the window's rectangle, screen coordinates
  // The rectangles of the visible windows met on that walk before the window, other than
  // windows of the program's own classes (another instance's bars, for one).
  std::vector<Rect> between;

  [[nodiscard]] TaskbarShape shape() const { return TaskbarShape{taskbar, notification_area}; }
  friend bool operator==(const TaskbarLook&, const TaskbarLook&) = default;
};

struct FollowSteps {
  bool raise = false;   // put the window directly above the taskbar again, in its band
  bool layout = false;  // lay the bars out again: the taskbar or its notification area moved
  // The window shows (when the user has not hidden the bars) exactly while its taskbar does.
  bool shown = true;

  friend bool operator==(const FollowSteps&, const FollowSteps&) = default;
};

// Whether two rectangles share at least one pixel.
[[nodiscard]] bool overlaps(const Rect& a, const Rect& b) noexcept;

// What a look calls for, given the shape the last layout was made for (none when there has
// been no layout over this taskbar yet). A steady taskbar calls for nothing: no z-order
// change, no layout, no drawing. Only a window between that overlaps the window covers it:
// another tool that keeps itself directly above the taskbar beside the bars is left there,
// rather than the two trading places on every look. A hidden taskbar calls for hiding the window alone; what
// changed meanwhile is seen when it shows again.
[[nodiscard]] FollowSteps follow_steps(const std::optional<TaskbarShape>& laid_out_over,
                                       const TaskbarLook& look) noexcept;

// The looks again after the last taskbar event: the shell often finishes its own raise a
// moment after the event that started it, so one look at the event is not enough. A look is
// taken at once, then 50 ms and 250 ms after the last event; a new event starts over. Holds
// no clock: the one-shot timer's firings drive it.
class RecheckSchedule {
 public:
  static constexpr std::chrono::milliseconds kFirst{50};
  static constexpr std::chrono::milliseconds kLast{250};

  // An event came: the timer is to fire this long from now.
  [[nodiscard]] std::chrono::milliseconds on_event() noexcept;
  // The timer fired (look again now): when to fire next, or none (kill the timer).
  [[nodiscard]] std::optional<std::chrono::milliseconds> on_timer() noexcept;

 private:
  bool first_done_ = false;
};

}  // namespace vessa
