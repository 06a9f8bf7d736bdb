#pragma once
// Hears at once when a taskbar the bars are laid over may have moved or been covered, through
// out-of-context WinEvent hooks: no DLL, the system calls back on this thread while it takes
// its messages, and the program's own windows are left out. Two kinds of event are heard:
// foreground changes anywhere (a click on the taskbar, Start, a task switch, a full-screen
// program coming to the front or going), and show, hide, z-order and location changes on the
// taskbars' own threads (an auto-hiding taskbar's slide, the shell's own raise, a notification
// area that grows by an icon). A callback
// only notes that a look at the taskbars is due and asks for it once, through `ask`; the look
// runs later from the message loop, never inside a callback, which may come in the middle of
// any wait for a message.
//
// A hook that cannot be set is left out and tried again at the next watch(): the look on
// every update tick follows the taskbar all the same, a tick later. Main thread only.

#include <windows.h>

#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "base/unique_handle_win.hpp"

namespace vessa {

class TaskbarEventHooks {
 public:
  // `ask` asks the main thread for a look (it posts a message) and says whether the request
  // went out; it is not called again until taken() says the look ran.
  explicit TaskbarEventHooks(std::function<bool()> ask);
  ~TaskbarEventHooks();  // unhooks
  TaskbarEventHooks(const TaskbarEventHooks&) = delete;
  TaskbarEventHooks& operator=(const TaskbarEventHooks&) = delete;

  // Listens for the events of `taskbars` (the primary taskbar when the bars lie over it, each
  // secondary taskbar with a mirror). Hooks again only when the taskbars' threads changed (a
  // shell restart); with no taskbars, no hook at all.
  void watch(std::span<const HWND> taskbars);
  // The look asked for has run: the next event asks again.
  void taken() noexcept { asked_ = false; }
  // Whether a show, hide, z-order or location change on a taskbar's thread came since the last
  // call: the taskbar's buttons may have changed (a program opened or closed, a button grew).
  [[nodiscard]] bool take_content_changed() noexcept { return std::exchange(content_changed_, false); }

 private:
  struct Thread {
    DWORD process = 0;
    DWORD thread = 0;
    friend bool operator==(const Thread&, const Thread&) = default;
  };

  static void CALLBACK on_event(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                DWORD event_thread, DWORD event_time) noexcept;
  // An out-of-context hook (no DLL) on on_event.
  static UniqueWinEventHook make_hook(DWORD first, DWORD last, DWORD process, DWORD thread, DWORD extra_flags);
  [[nodiscard]] bool owns(HWINEVENTHOOK hook) const noexcept;
  void heard(DWORD event, HWND window, LONG object) noexcept;
  void hook_threads();

  std::function<bool()> ask_;
  std::vector<HWND> taskbars_;
  std::vector<Thread> threads_;
  UniqueWinEventHook foreground_;
  std::vector<UniqueWinEventHook> taskbar_hooks_;
  bool asked_ = false;
  bool content_changed_ = false;
};

}  // namespace vessa
