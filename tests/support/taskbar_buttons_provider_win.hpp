#pragma once
// Buttons on a fake taskbar that UI Automation clients in other processes can see, as the
// shell's own buttons are seen: the taskbar window answers WM_GETOBJECT with a provider whose
// children are buttons with bounding rectangles. The buttons can come and go while a client
// looks. The provider counts the searches that reach it, so a test can tell a steady state
// (no more searches) from a busy one.
//
// The window must belong to this thread, which keeps pumping messages (wait_until does).

#include <windows.h>

#include <memory>
#include <vector>

namespace vessa::test {

class TaskbarButtonsProvider {
 public:
  explicit TaskbarButtonsProvider(HWND taskbar);
  ~TaskbarButtonsProvider();  // the window answers as before
  TaskbarButtonsProvider(const TaskbarButtonsProvider&) = delete;
  TaskbarButtonsProvider& operator=(const TaskbarButtonsProvider&) = delete;

  // The buttons the taskbar shows now, screen coordinates.
  void set_buttons(std::vector<RECT> buttons);
  // How many times a client has asked for the taskbar's first child (once per search).
  [[nodiscard]] int searches() const noexcept;

  struct Root;

 private:
  HWND taskbar_;
  Root* root_;  // a COM object: lives until the last client lets it go
};

// Whether this Wine's UI Automation client reaches another process's provider at all
// (Wine 8 has no client). Asked of a provider served by a thread of this process.
[[nodiscard]] bool ui_automation_client_available();

}  // namespace vessa::test
