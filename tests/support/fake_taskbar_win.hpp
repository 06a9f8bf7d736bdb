#pragma once
// A stand-in for the shell's taskbar in a desktop without one: a top-level window of class
// Shell_TrayWnd (or Shell_SecondaryTrayWnd, the taskbar of a further display), optionally
// with a TrayNotifyWnd child, that other processes find by class name. While a primary one
// is visible at the top or bottom of the screen, the work area of every process leaves it
// out, as it does for the real taskbar.
//
// The windows belong to the creating thread, which must keep pumping messages (wait_until
// does) for other programs to use them as parents or z-order references.

#include <windows.h>

#include <optional>

#include "base/unique_handle_win.hpp"

namespace vessa::test {

class FakeTaskbar {
 public:
  enum class Kind { Primary, Secondary };

  // `rect` and `tray` in screen coordinates; the tray must lie inside the taskbar.
  explicit FakeTaskbar(RECT rect, std::optional<RECT> tray = std::nullopt, Kind kind = Kind::Primary);
  ~FakeTaskbar();  // destroys the windows and gives the work area back
  FakeTaskbar(const FakeTaskbar&) = delete;
  FakeTaskbar& operator=(const FakeTaskbar&) = delete;

  [[nodiscard]] HWND window() const noexcept { return window_.get(); }
  [[nodiscard]] HWND tray() const noexcept { return tray_; }
  [[nodiscard]] RECT rect() const noexcept { return rect_; }

  // Moves the taskbar and updates every process's work area (as a display change does).
  void move(RECT rect);
  // Moves the notification area (screen coordinates).
  void move_tray(RECT tray);

 private:
  RECT rect_{};
  UniqueHwnd window_;
  HWND tray_ = nullptr;  // a child: goes with the taskbar window
};

// Makes every process recompute its monitors' work areas from the taskbars now visible.
void refresh_work_area();

// Raises a WinEvent from this thread, as the shell's thread raises one when its taskbar moves or
// a window comes to the front (Wine raises none of these itself). Wine's NotifyWinEvent drops the
// event unless this thread knows of the hooks set since it last took a message, so it takes
// one first.
void raise_win_event(DWORD event, HWND window, LONG object = OBJID_WINDOW);

}  // namespace vessa::test
