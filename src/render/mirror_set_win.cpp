#include "render/mirror_set_win.hpp"

#include <algorithm>

#include "base/debug_output.hpp"
#include "render/bar_drawing_win.hpp"
#include "render/clock_search_win.hpp"
#include "render/mirror_window_win.hpp"
#include "render/taskbar_win.hpp"

namespace vessa {
namespace {

HWND window_from_id(TaskbarId taskbar) noexcept { return reinterpret_cast<HWND>(taskbar); }
TaskbarId id_from_window(HWND taskbar) noexcept { return reinterpret_cast<TaskbarId>(taskbar); }

}  // namespace

// The real windows: secondary taskbars found by class, mirror windows kept in the set.
class MirrorSet::World final : public MirrorWorld {
 public:
  explicit World(MirrorSet& set) noexcept : set_(set) {}

  std::vector<TaskbarId> secondary_taskbars(std::size_t limit) override {
    std::vector<TaskbarId> taskbars;
    HWND previous = nullptr;
    while (taskbars.size() < limit) {
      previous = FindWindowExW(nullptr, previous, L"Shell_SecondaryTrayWnd", nullptr);
      if (previous == nullptr) break;
      taskbars.push_back(id_from_window(previous));
    }
    return taskbars;
  }

  std::optional<Rect> taskbar_band(TaskbarId taskbar) override {
    const std::optional<RECT> band = vessa::taskbar_band(window_from_id(taskbar));
    return band ? std::optional<Rect>(to_rect(*band)) : std::nullopt;
  }

  std::optional<Rect> taskbar_rect(TaskbarId taskbar) override { return vessa::taskbar_rect(window_from_id(taskbar)); }

  std::optional<Rect> notification_area(TaskbarId taskbar) override {
    const std::optional<RECT> area = notification_area_rect(window_from_id(taskbar));
    return area ? std::optional<Rect>(to_rect(*area)) : std::nullopt;
  }

  std::uint32_t taskbar_dpi(TaskbarId taskbar) override { return GetDpiForWindow(window_from_id(taskbar)); }

  std::optional<Rect> find_clock_area(TaskbarId taskbar) override {
    HWND window = window_from_id(taskbar);
    const std::optional<RECT> area = set_.clock_search_ ? set_.clock_search_(window) : vessa::find_clock_area(window);
    return area ? std::optional<Rect>(to_rect(*area)) : std::nullopt;
  }

  std::vector<AutomationElement> taskbar_elements(TaskbarId taskbar) override {
    for (const TaskbarElements& scanned : set_.elements_) {
      if (id_from_window(scanned.taskbar) == taskbar && scanned.elements) return *scanned.elements;
    }
    return {};
  }

  bool create_mirror(TaskbarId taskbar, bool visible) override {
    auto window = std::make_unique<MirrorWindow>(set_, taskbar);
    if (!window->create_window()) return false;
    ShowWindow(window->hwnd(), SW_SHOWNA);
    // Over a hidden taskbar it hides with it, as the look would a moment later.
    if (!visible || !IsWindowVisible(window_from_id(taskbar))) ShowWindow(window->hwnd(), SW_HIDE);
    raise_over(window->hwnd(), window_from_id(taskbar));
    set_.windows_.push_back(std::move(window));
    return true;
  }

  void destroy_mirror(TaskbarId taskbar) override {
    std::erase_if(set_.windows_, [&](const std::unique_ptr<MirrorWindow>& w) { return w->taskbar() == taskbar; });
  }

  MirrorClock::time_point now() override { return MirrorClock::now(); }

 private:
  MirrorSet& set_;
};

MirrorSet::MirrorSet() = default;

MirrorSet::~MirrorSet() = default;

void MirrorSet::set_events(std::unique_ptr<MirrorEvents> events) { events_ = std::move(events); }

bool MirrorSet::update(const Config& config, AttachMode mode, bool visible) {
  // A mirror window closed by another program is made again, as for a new taskbar.
  bool lost = false;
  std::erase_if(windows_, [&](const std::unique_ptr<MirrorWindow>& window) {
    if (window->has_window()) return false;
    list_.forget(window->taskbar());
    lost = true;
    return true;
  });
  World world(*this);
  const MirrorUpdate result = list_.update(world, config, MirrorUpdateInputs{mode, visible, debug::enabled()});
  for (const std::string& line : result.diagnostics) debug::line(line);
  // A mirror that the taskbar's buttons crowded out hides, and shows again once there is room.
  if (result.changed) set_visible(visible);
  return result.changed || lost;
}

void MirrorSet::raise() {
  for (const auto& window : windows_) {
    if (window->has_window()) raise_over(window->hwnd(), window_from_id(window->taskbar()));
  }
}

bool MirrorSet::follow(bool visible, bool tray_left) {
  bool moved = false;
  for (const auto& window : windows_) {
    if (!window->has_window()) continue;
    // What the last placement was made for; nothing yet asks for a layout.
    std::optional<TaskbarShape> laid_out_over;
    const MirrorRecord* record = list_.find(window->taskbar());
    if (record != nullptr && record->taskbar_rect) {
      laid_out_over = TaskbarShape{*record->taskbar_rect, tray_left ? record->notification_area : std::nullopt};
    }
    if (follow_taskbar(window->hwnd(), window_from_id(window->taskbar()), laid_out_over, tray_left,
                       shown(window->taskbar(), visible))) {
      moved = true;
    }
  }
  return moved;
}

std::vector<HWND> MirrorSet::taskbars() const {
  std::vector<HWND> taskbars;
  for (const auto& window : windows_) {
    if (window->has_window()) taskbars.push_back(window_from_id(window->taskbar()));
  }
  return taskbars;
}

void MirrorSet::clear() {
  windows_.clear();
  list_ = MirrorList{};
}

void MirrorSet::set_visible(bool visible) {
  for (const auto& window : windows_) {
    // A mirror over a hidden taskbar stays hidden with it.
    const bool show = shown(window->taskbar(), visible) && IsWindowVisible(window_from_id(window->taskbar()));
    if (window->has_window() && (IsWindowVisible(window->hwnd()) != FALSE) != show) {
      ShowWindow(window->hwnd(), show ? SW_SHOWNA : SW_HIDE);
    }
  }
}

void MirrorSet::draw(const MirrorFrameBuilder& frame_for, WeatherIconCache* icon_cache) {
  for (const MirrorRecord& record : list_.records()) {
    if (!record.laid_out) continue;
    MirrorWindow* window = window_of(record.taskbar);
    if (window == nullptr || !window->has_window()) continue;
    push_frame(window->surface(), window->hwnd(), record.placement, frame_for(record), icon_cache);
  }
}

bool MirrorSet::shown(TaskbarId taskbar, bool visible) const {
  const MirrorRecord* record = list_.find(taskbar);
  return visible && (record == nullptr || !record->crowded_out);
}

MirrorWindow* MirrorSet::window_of(TaskbarId taskbar) const {
  const auto found = std::find_if(windows_.begin(), windows_.end(),
                                  [&](const std::unique_ptr<MirrorWindow>& w) { return w->taskbar() == taskbar; });
  return found != windows_.end() ? found->get() : nullptr;
}

}  // namespace vessa
