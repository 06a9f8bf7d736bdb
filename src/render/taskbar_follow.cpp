#include "render/taskbar_follow.hpp"

namespace vessa {

FollowSteps follow_steps(const std::optional<Rect>& laid_out_over, const TaskbarLook& look) noexcept {
  FollowSteps steps;
  // Covered by the taskbar, or in the other band than the taskbar: over a full-screen program
  // the bars would paint over it, under a topmost taskbar they would not show.
  steps.raise = !look.window_above || look.window_topmost != look.taskbar_topmost;
  // An auto-hiding taskbar's band is its own window rectangle, so any move counts, a slide of
  // a single pixel included.
  steps.layout = !laid_out_over || *laid_out_over != look.taskbar;
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
