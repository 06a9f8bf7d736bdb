#pragma once
// The taskbar's buttons as the bars must leave them: what one UI Automation scan of a taskbar
// found, filtered down to the rectangles the bars may not cover, and the gate that keeps the
// scans rare. Plain values; the scan itself runs on a worker thread (taskbar_buttons_win.hpp).

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "render/geometry.hpp"

namespace vessa {

// UIA_ButtonControlTypeId: Start, search, task view, widgets and every task button are buttons
// on Windows 10 and 11 alike, whatever their window classes are called in a given build.
inline constexpr int kButtonControlType = 50000;

// One element of a taskbar's automation tree, screen coordinates.
struct AutomationElement {
  Rect bounds;
  int control_type = 0;

  friend bool operator==(const AutomationElement&, const AutomationElement&) = default;
};

// The buttons among `elements` that lie inside the taskbar's `band` and clear of its
// notification area (the tray icons and the clock are buttons too, and the bars sit beside
// them on purpose). Empty rectangles count as nothing.
[[nodiscard]] std::vector<Rect> taskbar_obstacles(std::span<const AutomationElement> elements, const Rect& band,
                                                  const std::optional<Rect>& notification_area);

// At most one scan at a time and at most one start per kSpacing: a burst of shell events or
// layouts asks many times and gets one scan now and one more when the spacing allows. Holds
// no clock: the caller passes the time, and a one-shot timer starts what is pending.
class ButtonScanGate {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::chrono::milliseconds kSpacing{250};

  // A scan is wanted: true when it is to start now (it then counts as running).
  [[nodiscard]] bool want(Clock::time_point now) noexcept;
  // The running scan has ended.
  void finished() noexcept { running_ = false; }
  // How long until a pending scan may start, when one is pending and none runs.
  [[nodiscard]] std::optional<std::chrono::milliseconds> pending_in(Clock::time_point now) const noexcept;
  // The timer fired: true when the pending scan is to start now.
  [[nodiscard]] bool start_pending(Clock::time_point now) noexcept;

 private:
  bool running_ = false;
  bool pending_ = false;
  std::optional<Clock::time_point> last_start_;
};

}  // namespace vessa
