#pragma once
// A window world that plays back what its owner sets, for the host tests and benchmarks
// where there are no windows: the secondary taskbars with their bands, DPIs and clock areas,
// a clock that moves only when told, and a record of the mirror windows made and destroyed.
// Like the real world it lists at most the limit it is asked for, in the order set.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "render/mirror_world.hpp"

namespace vessa {

class ScriptedMirrorWorld final : public MirrorWorld {
 public:
  struct Taskbar {
    std::optional<Rect> band;
    std::uint32_t dpi = 96;
    std::optional<Rect> clock_area;
    std::optional<Rect> window;  // the taskbar's window rectangle; the band when not set
    std::optional<Rect> notification_area;
    std::vector<AutomationElement> elements;  // what a scan of its buttons found
  };

  // --- What the system shows -----------------------------------------------------------------
  // Adds a secondary taskbar at the end of the system's list (or changes one already there).
  void set_taskbar(TaskbarId taskbar, Taskbar state);
  void remove_taskbar(TaskbarId taskbar);
  [[nodiscard]] Taskbar& taskbar(TaskbarId taskbar);
  bool fail_creation = false;  // every mirror window fails to be made
  void advance(MirrorClock::duration step) { now_ += step; }
  // Runs inside every clock search, as the messages the real search lets through while it
  // waits on another process do.
  std::function<void(TaskbarId)> during_clock_search;

  // --- What the mirror list did --------------------------------------------------------------
  // The mirror windows that exist, in creation order, with whether each was shown.
  struct Window {
    TaskbarId taskbar = 0;
    bool visible = false;
  };
  [[nodiscard]] const std::vector<Window>& windows() const noexcept { return windows_; }
  [[nodiscard]] int created() const noexcept { return created_; }
  [[nodiscard]] int destroyed() const noexcept { return destroyed_; }
  [[nodiscard]] int clock_searches(TaskbarId taskbar) const;

  // MirrorWorld
  [[nodiscard]] std::vector<TaskbarId> secondary_taskbars(std::size_t limit) override;
  [[nodiscard]] std::optional<Rect> taskbar_band(TaskbarId taskbar) override;
  [[nodiscard]] std::optional<Rect> taskbar_rect(TaskbarId taskbar) override;
  [[nodiscard]] std::optional<Rect> notification_area(TaskbarId taskbar) override;
  [[nodiscard]] std::uint32_t taskbar_dpi(TaskbarId taskbar) override;
  [[nodiscard]] std::optional<Rect> find_clock_area(TaskbarId taskbar) override;
  [[nodiscard]] std::vector<AutomationElement> taskbar_elements(TaskbarId taskbar) override {
    return this->taskbar(taskbar).elements;
  }
  [[nodiscard]] bool create_mirror(TaskbarId taskbar, bool visible) override;
  void destroy_mirror(TaskbarId taskbar) override;
  [[nodiscard]] MirrorClock::time_point now() override { return now_; }

 private:
  [[nodiscard]] const Taskbar* find(TaskbarId taskbar) const;

  std::vector<std::pair<TaskbarId, Taskbar>> taskbars_;  // in the system's order
  std::vector<Window> windows_;
  std::map<TaskbarId, int> clock_searches_;
  MirrorClock::time_point now_{std::chrono::hours(1)};
  int created_ = 0;
  int destroyed_ = 0;
};

}  // namespace vessa
