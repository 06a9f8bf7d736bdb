#pragma once
// The bar window (class VessaMonitorWindow), the program's hub after start-up: its timers
// drive the update tick, the reattach check and the weather refresh (and its one more
// fetch after a resume from sleep); pointer messages show
// and hide the tooltip; right clicks and the tray icon's callback open the context menu; the
// shell's notifications lay the bars out again. The object belongs to AppState and keeps a
// non-owning reference to it.

#include <windows.h>

#include <optional>

#include "app/startup_rules.hpp"
#include "base/window_win.hpp"
#include "config/enums.hpp"
#include "render/geometry.hpp"

namespace vessa {

struct AppState;

// Posted to the bar window when the shell's events say a taskbar may have moved or been covered.
inline constexpr UINT kTaskbarEventMessage = WM_APP + 2;
// A scan of the taskbar's buttons finished on its worker thread.
inline constexpr UINT kButtonScanMessage = WM_APP + 3;

class BarWindow : public Window<BarWindow> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaMonitorWindow";

  explicit BarWindow(AppState& state) noexcept : state_(state) {}

  // Creates the window for `mode`: a child of `taskbar`, a topmost overlay, or a
  // message-only window. False on failure (the handle is then empty).
  [[nodiscard]] bool create_for(AttachMode mode, HWND taskbar) noexcept;

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
  void on_window_gone() noexcept;

 private:
  void on_destroy();
  void on_tray_callback(WORD event);
  void open_context_menu();
  void show_tooltip_at_cursor();

  AppState& state_;
  bool created_ = false;  // the window was made; only such a window's end is handled
  // A lost child window (the shell went down) is replaced once its old window has gone.
  bool replace_when_gone_ = false;
  // A right click on the tray icon may bring both WM_RBUTTONUP and WM_CONTEXTMENU: the one
  // that comes second is the same click and opens nothing.
  std::optional<WORD> swallow_tray_event_;
  // Where the tray icon's tooltip was last anchored: a hover still anchored there is the icon's.
  std::optional<Placement> tray_anchor_;
};

// Sets, re-periods or kills the window's timers so that they run as `config` asks, from
// `running` (all 0 for a new window), which then says what runs; after a resume from sleep
// also the one-shot weather fetch. Nothing without a window.
void set_bar_timers(HWND window, TimerPeriods& running, const Config& config, bool resumed = false);

// The program ends: the tray icon goes, the tooltip is hidden and the message loop is told
// to stop. Every way out of the program comes here.
void end_program(AppState& state);

// Marks the end as asked for, kills timers 1 and 2 on the current bar window and destroys
// it; its WM_DESTROY removes the tray icon and ends the message loop. Nothing when the window
// is already gone.
void destroy_bar_window(AppState& state);

}  // namespace vessa
