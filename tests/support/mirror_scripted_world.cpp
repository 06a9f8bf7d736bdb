#include "mirror_scripted_world.hpp"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace vessa {

void ScriptedMirrorWorld::set_taskbar(TaskbarId id, Taskbar state) {
  for (auto& [known, taskbar] : taskbars_) {
    if (known == id) {
      taskbar = state;
      return;
    }
  }
  taskbars_.emplace_back(id, state);
}

void ScriptedMirrorWorld::remove_taskbar(TaskbarId id) {
  std::erase_if(taskbars_, [&](const auto& entry) { return entry.first == id; });
}

ScriptedMirrorWorld::Taskbar& ScriptedMirrorWorld::taskbar(TaskbarId id) {
  for (auto& [known, taskbar] : taskbars_) {
    if (known == id) return taskbar;
  }
  throw std::out_of_range("no such scripted taskbar");
}

const ScriptedMirrorWorld::Taskbar* ScriptedMirrorWorld::find(TaskbarId id) const {
  for (const auto& [known, taskbar] : taskbars_) {
    if (known == id) return &taskbar;
  }
  return nullptr;
}

int ScriptedMirrorWorld::clock_searches(TaskbarId id) const {
  const auto found = clock_searches_.find(id);
  return found != clock_searches_.end() ? found->second : 0;
}

std::vector<TaskbarId> ScriptedMirrorWorld::secondary_taskbars(std::size_t limit) {
  std::vector<TaskbarId> ids;
  for (const auto& entry : taskbars_) {
    if (ids.size() >= limit) break;
    ids.push_back(entry.first);
  }
  return ids;
}

std::optional<Rect> ScriptedMirrorWorld::taskbar_band(TaskbarId id) {
  const Taskbar* taskbar = find(id);
  return taskbar != nullptr ? taskbar->band : std::nullopt;
}

std::optional<Rect> ScriptedMirrorWorld::taskbar_rect(TaskbarId id) {
  const Taskbar* taskbar = find(id);
  if (taskbar == nullptr) return std::nullopt;
  return taskbar->window ? taskbar->window : taskbar->band;
}

std::optional<Rect> ScriptedMirrorWorld::notification_area(TaskbarId id) {
  const Taskbar* taskbar = find(id);
  return taskbar != nullptr ? taskbar->notification_area : std::nullopt;
}

std::uint32_t ScriptedMirrorWorld::taskbar_dpi(TaskbarId id) {
  const Taskbar* taskbar = find(id);
  return taskbar != nullptr ? taskbar->dpi : 0;
}

std::optional<Rect> ScriptedMirrorWorld::find_clock_area(TaskbarId id) {
  ++clock_searches_[id];
  if (during_clock_search) during_clock_search(id);
  const Taskbar* taskbar = find(id);
  return taskbar != nullptr ? taskbar->clock_area : std::nullopt;
}

bool ScriptedMirrorWorld::create_mirror(TaskbarId id, bool visible) {
  if (fail_creation) return false;
  windows_.push_back(Window{id, visible});
  ++created_;
  return true;
}

void ScriptedMirrorWorld::destroy_mirror(TaskbarId id) {
  const auto removed = std::erase_if(windows_, [&](const Window& w) { return w.taskbar == id; });
  destroyed_ += static_cast<int>(removed);
}

}  // namespace vessa
