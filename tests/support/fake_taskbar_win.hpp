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

#include <functional>
#include <optional>
#include <string>

#include "base/unique_handle_win.hpp"

namespace vessa::test {

// A notification-area request as the taskbar receives it: Shell_NotifyIconW sends the primary
// taskbar WM_COPYDATA whose dwData is the NIM code, and the window's answer is the call's
// result. Decoded from the record Wine's shell32 sends (the NOTIFYICONDATAW fields without
// the handles, then the icon's bits).
struct IconRequest {
  DWORD message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE, NIM_SETVERSION
  UINT flags = 0;
  UINT version = 0;  // NIM_SETVERSION's version (a balloon's time-out with NIF_INFO)
  std::wstring info_title, info;
};
std::optional<IconRequest> decode_icon_request(const COPYDATASTRUCT& data);

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

  // Answers icon requests from now on (true accepts, false refuses); without an answer each
  // one is refused. Only a primary taskbar gets them.
  void answer_icon_requests(std::function<bool(const IconRequest&)> answer) { answer_ = std::move(answer); }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  std::function<bool(const IconRequest&)> answer_;
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
