#include "render/taskbar_events_win.hpp"

#include <algorithm>
#include <array>

namespace vessa {
namespace {

// A WinEvent callback carries no pointer of its own: it finds its owner among the hook sets
// of the thread it runs on (the thread that set the hooks, usually one set per program).
thread_local std::vector<TaskbarEventHooks*> hook_sets;

}  // namespace

TaskbarEventHooks::TaskbarEventHooks(std::function<bool()> ask) : ask_(std::move(ask)) { hook_sets.push_back(this); }

TaskbarEventHooks::~TaskbarEventHooks() {
  std::erase(hook_sets, this);
  // The hooks go with their members; a callback already queued finds no owner and is dropped.
}

void TaskbarEventHooks::watch(std::span<const HWND> taskbars) {
  taskbars_.assign(taskbars.begin(), taskbars.end());
  std::vector<Thread> threads;
  for (HWND taskbar : taskbars_) {
    Thread owner;
    owner.thread = GetWindowThreadProcessId(taskbar, &owner.process);
    if (owner.thread != 0 && std::find(threads.begin(), threads.end(), owner) == threads.end()) {
      threads.push_back(owner);
    }
  }
  if (threads.empty()) {
    foreground_.reset();
    taskbar_hooks_.clear();
    threads_.clear();
    return;
  }
  if (!foreground_) {
    foreground_ = make_hook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, 0, 0, WINEVENT_SKIPOWNPROCESS);
  }
  // Hooks that failed are tried again at the next watch, as if the threads had changed.
  if (threads != threads_ || taskbar_hooks_.size() != 2 * threads_.size()) {
    threads_ = std::move(threads);
    hook_threads();
  }
}

void TaskbarEventHooks::hook_threads() {
  // Two ranges, to leave out the busy events between them (focus, selection, state changes of
  // the taskbar's buttons), limited to the shell's thread. None of this program's own events
  // can come then, so they need no skipping (which Wine would get wrong for a limited hook).
  const auto hook_ranges = [](DWORD process, DWORD thread) {
    return std::array{make_hook(EVENT_OBJECT_SHOW, EVENT_OBJECT_REORDER, process, thread, 0),
                      make_hook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, process, thread, 0)};
  };
  taskbar_hooks_.clear();
  for (const Thread& owner : threads_) {
    auto hooks = hook_ranges(owner.process, owner.thread);
    // Where a thread of another process cannot be hooked (Wine allows none), its whole process.
    if (!hooks[0] || !hooks[1]) hooks = hook_ranges(owner.process, 0);
    for (UniqueWinEventHook& h : hooks) {
      if (h) taskbar_hooks_.push_back(std::move(h));
    }
  }
}

UniqueWinEventHook TaskbarEventHooks::make_hook(DWORD first, DWORD last, DWORD process, DWORD thread,
                                                DWORD extra_flags) {
  return UniqueWinEventHook(
      SetWinEventHook(first, last, nullptr, &on_event, process, thread, WINEVENT_OUTOFCONTEXT | extra_flags));
}

bool TaskbarEventHooks::owns(HWINEVENTHOOK event_hook) const noexcept {
  if (foreground_.get() == event_hook) return true;
  return std::any_of(taskbar_hooks_.begin(), taskbar_hooks_.end(),
                     [&](const UniqueWinEventHook& h) { return h.get() == event_hook; });
}

void CALLBACK TaskbarEventHooks::on_event(HWINEVENTHOOK event_hook, DWORD event, HWND window, LONG object,
                                          LONG /*child*/, DWORD /*event_thread*/, DWORD /*event_time*/) noexcept {
  for (TaskbarEventHooks* set : hook_sets) {
    if (set->owns(event_hook)) {
      set->heard(event, window, object);
      return;
    }
  }
}

void TaskbarEventHooks::heard(DWORD event, HWND window, LONG object) noexcept {
  const bool taskbar = std::find(taskbars_.begin(), taskbars_.end(), window) != taskbars_.end();
  bool due = false;
  switch (event) {
    case EVENT_SYSTEM_FOREGROUND:
      due = true;
      break;
    case EVENT_OBJECT_REORDER:
      // The container whose children changed order: the desktop for top-level windows, the
      // taskbar for its own buttons.
      due = taskbar || window == GetDesktopWindow();
      if (taskbar) content_changed_ = true;
      break;
    default:  // shown, hidden, moved on a taskbar's thread: the taskbar itself or its notification
              // area (which grows by an icon) may have moved, and any of the thread's windows may
              // be a button that came, went or grew; the cursor's changes are not windows'
      if (object != OBJID_WINDOW) break;
      content_changed_ = true;
      due = true;
      break;
  }
  if (due && !asked_ && ask_) asked_ = ask_();
}

}  // namespace vessa
