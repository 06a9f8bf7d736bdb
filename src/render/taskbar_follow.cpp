#include "render/taskbar_follow.hpp"

#include <algorithm>

namespace vessa {

bool overlaps(const Rect& a, const Rect& b) noexcept {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

FollowSteps follow_steps(const std::optional<TaskbarShape>& laid_out_over, const TaskbarLook& look) noexcept {
  FollowSteps steps;
  if (!look.taskbar_visible) {
    steps.shown = false;
    return steps;
  }
  // Covered by the taskbar, or in the other band than the taskbar: over a full-screen program
  // the bars would paint over it, under a topmost taskbar they would not show.
  const bool covered = !look.window_above || std::any_of(look.between.begin(), look.between.end(),
                                                         [&](const Rect& r) { return overlaps(r, look.window); });
  steps.raise = covered || look.window_topmost != look.taskbar_topmost;
  // An auto-hiding taskbar's band is its own window rectangle, so any move counts, a slide of
  // a single pixel included. A notification area that grew moves bars that end before it.
  steps.layout = !laid_out_over || *laid_out_over != look.shape();
  return steps;
}

std::chrono::milliseconds RecheckSchedule::on_event() noexcept {
  first_done_ = false;
  return kFirst;
}

std::optional<std::chrono::milliseconds> RecheckSchedule::on_timer() noexcept {
  if (first_done_) return std::nullopt;
  first_done_ = true;
  return kLast - kFirst;
}

}  // namespace vessa
