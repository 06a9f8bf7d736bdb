#include "render/mirror_list.hpp"

#include <algorithm>
#include <utility>

#include "base/dpi.hpp"
#include "render/obstacle_fit.hpp"
#include "render/placement.hpp"
#include "render/saturating.hpp"

namespace vessa {
namespace {

bool contains(const std::vector<TaskbarId>& taskbars, TaskbarId taskbar) {
  return std::find(taskbars.begin(), taskbars.end(), taskbar) != taskbars.end();
}

// Only when the bars are on the taskbar and every display is asked for.
std::vector<TaskbarId> collect_taskbars(MirrorWorld& world, const Config& config, AttachMode mode) {
  if (mode == AttachMode::TrayOnly || config.general.displays != Displays::All) return {};
  std::vector<TaskbarId> taskbars = world.secondary_taskbars(MirrorList::kMaxMirrors);
  if (taskbars.size() > MirrorList::kMaxMirrors) taskbars.resize(MirrorList::kMaxMirrors);
  return taskbars;
}

Rect shifted(const Rect& r, std::int64_t dx, std::int64_t dy) noexcept {
  return Rect{sat::to_i32(sat::add(r.left, dx)), sat::to_i32(sat::add(r.top, dy)), sat::to_i32(sat::add(r.right, dx)),
              sat::to_i32(sat::add(r.bottom, dy))};
}

void search_from(MirrorRecord& record, MirrorClock::time_point now) {
  record.clock_area.reset();
  record.next_clock_attempt = now;
  record.clock_deadline = now + MirrorList::kClockSearchSpan;
}

// Takes in the band, DPI and notification area just read. A band that only moved (the same
// size at the same DPI: an auto-hiding taskbar's slide step) carries the clock area along
// instead of searching again, which would stall this thread and the shell's animation on
// every step. Another size or DPI, or a notification area that changed within the taskbar,
// searches again from now.
void take_in_band(MirrorRecord& record, const Rect& band, std::uint32_t dpi, const std::optional<Rect>& area,
                  MirrorClock::time_point now) {
  const bool moved_only = record.band && dpi == record.dpi && band.width() == record.band->width() &&
                          band.height() == record.band->height();
  if (moved_only) {
    const std::int64_t dx = std::int64_t{band.left} - record.band->left;
    const std::int64_t dy = std::int64_t{band.top} - record.band->top;
    if (record.clock_area) record.clock_area = shifted(*record.clock_area, dx, dy);
    if (record.notification_area) record.notification_area = shifted(*record.notification_area, dx, dy);
  }
  if (!moved_only || area != record.notification_area) search_from(record, now);
  record.band = band;
  record.notification_area = area;
}

}  // namespace

const MirrorRecord* MirrorList::find(TaskbarId taskbar) const noexcept {
  const auto found =
      std::find_if(records_.begin(), records_.end(), [&](const MirrorRecord& r) { return r.taskbar == taskbar; });
  return found != records_.end() ? &*found : nullptr;
}

MirrorRecord* MirrorList::find_record(TaskbarId taskbar) noexcept {
  const auto found =
      std::find_if(records_.begin(), records_.end(), [&](const MirrorRecord& r) { return r.taskbar == taskbar; });
  return found != records_.end() ? &*found : nullptr;
}

void MirrorList::forget(TaskbarId taskbar) {
  std::erase_if(records_, [&](const MirrorRecord& r) { return r.taskbar == taskbar; });
}

MirrorUpdate MirrorList::update(MirrorWorld& world, const Config& config, const MirrorUpdateInputs& inputs) {
  MirrorUpdate result;
  if (updating_) {
    pass_due_ = true;
    return result;
  }
  struct Running {
    bool& flag;
    explicit Running(bool& f) noexcept : flag(f) { flag = true; }
    ~Running() { flag = false; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
  } running(updating_);
  do {
    pass_due_ = false;
    run_pass(world, config, inputs, result);
  } while (pass_due_);
  return result;
}

void MirrorList::run_pass(MirrorWorld& world, const Config& config, const MirrorUpdateInputs& inputs,
                          MirrorUpdate& result) {
  std::vector<std::string>* diagnostics = inputs.diagnostics ? &result.diagnostics : nullptr;
  const std::vector<TaskbarId> taskbars = collect_taskbars(world, config, inputs.mode);

  // Remove the mirrors whose taskbar went; the others keep their order.
  const auto gone = std::stable_partition(records_.begin(), records_.end(),
                                          [&](const MirrorRecord& r) { return contains(taskbars, r.taskbar); });
  for (auto it = gone; it != records_.end(); ++it) {
    world.destroy_mirror(it->taskbar);
    result.changed = true;
  }
  records_.erase(gone, records_.end());

  // Create the missing ones in collection order.
  bool created = false;
  for (const TaskbarId taskbar : taskbars) {
    if (find(taskbar) != nullptr) continue;
    if (!world.create_mirror(taskbar, inputs.visible)) {
      if (diagnostics != nullptr) diagnostics->emplace_back("副ディスプレイの複製を作れません");
      continue;  // the next update tries again
    }
    const MirrorClock::time_point now = world.now();
    MirrorRecord record;
    record.taskbar = taskbar;
    record.next_clock_attempt = now;
    record.clock_deadline = now + kClockSearchSpan;
    records_.push_back(record);
    created = true;
  }
  if (created) {
    result.changed = true;
    if (diagnostics != nullptr) {
      diagnostics->push_back("副ディスプレイの複製: " + std::to_string(records_.size()) + " 枚");
    }
  }

  std::vector<TaskbarId> placed;
  placed.reserve(records_.size());
  for (const MirrorRecord& record : records_) placed.push_back(record.taskbar);
  for (const TaskbarId taskbar : placed) {
    if (place(taskbar, world, config, world.now(), diagnostics)) result.changed = true;
  }
}

bool MirrorList::place(TaskbarId taskbar, MirrorWorld& world, const Config& config, MirrorClock::time_point now,
                       std::vector<std::string>* diagnostics) {
  MirrorRecord* record = find_record(taskbar);
  if (record == nullptr) return false;  // forgotten meanwhile
  const std::optional<Rect> band = world.taskbar_band(taskbar);
  if (!band) return false;  // the mirror keeps its last placement
  // Read with the band, before the clock search lets messages through: a move during the
  // search is then seen by the next look.
  const std::optional<Rect> taskbar_rect = world.taskbar_rect(taskbar);
  record->taskbar_rect = taskbar_rect;
  const std::uint32_t dpi = effective_dpi(world.taskbar_dpi(taskbar));
  take_in_band(*record, *band, dpi, world.notification_area(taskbar), now);

  if (!record->clock_area && record->next_clock_attempt <= now && now < record->clock_deadline) {
    record->next_clock_attempt = now + kClockRetry;
    const std::optional<Rect> clock_area = world.find_clock_area(taskbar);
    record = find_record(taskbar);  // the search lets messages through that may change the list
    if (record == nullptr) return false;
    if (world.taskbar_rect(taskbar) == taskbar_rect) {
      record->clock_area = clock_area;
    } else {
      // The taskbar moved while the shell was asked: the area may be from either place. The
      // look that sees the move lays out again, and the search runs again then.
      record->next_clock_attempt = now;
    }
    if (diagnostics != nullptr) {
      diagnostics->push_back("副タスクバーの時計: " + format_clock_area(record->clock_area));
    }
  }

  // tray_left ends the mirror just before the secondary taskbar's clock.
  const PlacementResult result =
      compute_placement(config, *band, dpi, config.metrics.items.size(), record->clock_area);
  const bool vertical = band->width() < band->height();

  // Clear of the taskbar's buttons, as the bars on the primary taskbar are.
  const std::vector<AutomationElement> elements = world.taskbar_elements(taskbar);
  const Rect within = taskbar_rect.value_or(*band);
  const std::optional<Placement> fitted =
      fit_beside_obstacles(result.placement, vertical, config.layout.anchor,
                           taskbar_obstacles(elements, within, record->clock_area),
                           obstacle_rule(config, result.geometry, dpi), record->crowded_out);
  const Placement placement = fitted.value_or(result.placement);
  const bool crowded_out = !fitted;

  if (record->laid_out && placement == record->placement && result.geometry == record->geometry &&
      dpi == record->dpi && vertical == record->vertical && crowded_out == record->crowded_out) {
    return false;
  }
  record->placement = placement;
  record->geometry = result.geometry;
  record->dpi = dpi;
  record->vertical = vertical;
  record->laid_out = true;
  record->crowded_out = crowded_out;
  if (diagnostics != nullptr && !crowded_out) {
    diagnostics->push_back(format_mirror_placement_line(vertical, dpi, *band, placement));
  }
  return true;
}

std::string format_clock_area(const std::optional<Rect>& area) {
  if (!area) return "None";
  return "Rect { left: " + std::to_string(area->left) + ", top: " + std::to_string(area->top) +
         ", right: " + std::to_string(area->right) + ", bottom: " + std::to_string(area->bottom) + " }";
}

std::string format_mirror_placement_line(bool vertical, std::uint32_t dpi, const Rect& band,
                                         const Placement& placement) {
  std::string line = "複製の配置 vertical=";
  line += vertical ? "true" : "false";
  line += " dpi=" + std::to_string(dpi);
  line += " container=" + std::to_string(band.width()) + "x" + std::to_string(band.height());
  line += " placement=" + format_placement(placement);
  return line;
}

}  // namespace vessa
