#include "render/taskbar_buttons.hpp"

#include <algorithm>

namespace vessa {
namespace {

bool empty(const Rect& rect) noexcept { return rect.width() <= 0 || rect.height() <= 0; }

bool inside(const Rect& inner, const Rect& outer) noexcept {
  return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
         inner.bottom <= outer.bottom;
}

bool overlap(const Rect& a, const Rect& b) noexcept {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

std::vector<Rect> taskbar_obstacles(std::span<const AutomationElement> elements, const Rect& band,
                                    const std::optional<Rect>& notification_area) {
  std::vector<Rect> obstacles;
  for (const AutomationElement& element : elements) {
    if (element.control_type != kButtonControlType || empty(element.bounds)) continue;
    if (!inside(element.bounds, band)) continue;
    if (notification_area && !empty(*notification_area) && overlap(element.bounds, *notification_area)) continue;
    obstacles.push_back(element.bounds);
  }
  return obstacles;
}

bool ButtonScanGate::want(Clock::time_point now) noexcept {
  if (running_ || (last_start_ && now - *last_start_ < kSpacing)) {
    pending_ = true;
    return false;
  }
  running_ = true;
  pending_ = false;
  last_start_ = now;
  return true;
}

std::optional<std::chrono::milliseconds> ButtonScanGate::pending_in(Clock::time_point now) const noexcept {
  if (!pending_ || running_) return std::nullopt;
  if (!last_start_) return std::chrono::milliseconds{0};
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - *last_start_);
  return std::max(std::chrono::milliseconds{0}, kSpacing - elapsed);
}

bool ButtonScanGate::start_pending(Clock::time_point now) noexcept {
  if (!pending_) return false;
  return want(now);
}

}  // namespace vessa
