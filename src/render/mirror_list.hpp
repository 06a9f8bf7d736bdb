#pragma once
// The mirrors of the bars on secondary taskbars, as plain records: one per secondary taskbar
// (at most 16), in creation order, each with its own placement, geometry, DPI, orientation
// and clock search. `update` keeps the list in step with the taskbars a MirrorWorld reports,
// places every mirror with compute_placement, and says whether anything changed. The windows
// themselves belong to the world; the records only name their taskbars. Main thread only.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/config.hpp"
#include "render/geometry.hpp"
#include "render/mirror_world.hpp"

namespace vessa {

struct MirrorRecord {
  TaskbarId taskbar = 0;
  // Clock search: the next attempt, and the time after which no attempt is made.
  MirrorClock::time_point next_clock_attempt{};
  MirrorClock::time_point clock_deadline{};
  // The secondary taskbar's band at the last placement (screen coordinates), and what was read
  // with it: the taskbar's window rectangle and its notification area. A look that finds the
  // taskbar or its notification area elsewhere asks for a layout.
  std::optional<Rect> band;
  std::optional<Rect> taskbar_rect;
  std::optional<Rect> notification_area;
  // Where the clock and notification icons are; once known, the search is over.
  std::optional<Rect> clock_area;
  std::uint32_t dpi = 96;
  Placement placement;  // screen coordinates, clear of the taskbar's buttons
  Geometry geometry;
  bool vertical = false;
  bool laid_out = false;
  bool crowded_out = false;  // the taskbar's buttons leave too little room: the mirror hides
};

struct MirrorUpdateInputs {
  AttachMode mode = AttachMode::Overlay;
  bool visible = true;      // the shared visibility of the bars
  bool diagnostics = false;  // collect the --debug lines
};

struct MirrorUpdate {
  // A mirror was created or destroyed, or one's placement, geometry, DPI or orientation changed.
  bool changed = false;
  // The --debug lines of this update, in order (only when asked for).
  std::vector<std::string> diagnostics;
};

class MirrorList {
 public:
  static constexpr std::size_t kMaxMirrors = 16;
  // A clock that is not found yet is looked for again every 2 seconds of updates, for one
  // minute after the mirror appears, its band changes size, its DPI changes or its
  // notification area changes. A band that only moved carries a found clock area along.
  static constexpr std::chrono::seconds kClockRetry{2};
  static constexpr std::chrono::seconds kClockSearchSpan{60};

  // Collects the secondary taskbars (none unless `displays` is "all" and the bars are on the
  // taskbar), destroys the mirrors whose taskbar went, creates the missing ones in collection
  // order, and places every mirror whose band can be had.
  // The clock search may let messages through that ask for an update again: such a call only
  // notes that another pass is due, reports no change, and the running call makes that pass
  // (and reports it) before it returns.
  MirrorUpdate update(MirrorWorld& world, const Config& config, const MirrorUpdateInputs& inputs);

  // Drops the record of a mirror whose window went without being destroyed here (another
  // program closed it): the next update makes a new one.
  void forget(TaskbarId taskbar);

  [[nodiscard]] const std::vector<MirrorRecord>& records() const noexcept { return records_; }
  [[nodiscard]] const MirrorRecord* find(TaskbarId taskbar) const noexcept;

 private:
  void run_pass(MirrorWorld& world, const Config& config, const MirrorUpdateInputs& inputs, MirrorUpdate& result);
  // Holds no reference into the list across the clock search.
  bool place(TaskbarId taskbar, MirrorWorld& world, const Config& config, MirrorClock::time_point now,
             std::vector<std::string>* diagnostics);
  [[nodiscard]] MirrorRecord* find_record(TaskbarId taskbar) noexcept;

  std::vector<MirrorRecord> records_;
  bool updating_ = false;
  bool pass_due_ = false;
};

// "Rect { left: 1100, top: 760, right: 1280, bottom: 800 }", or "None".
[[nodiscard]] std::string format_clock_area(const std::optional<Rect>& area);
// The --debug line written when a mirror's placement changed.
[[nodiscard]] std::string format_mirror_placement_line(bool vertical, std::uint32_t dpi, const Rect& band,
                                                       const Placement& placement);

}  // namespace vessa
