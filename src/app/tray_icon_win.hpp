#pragma once
// The notification-area icon and the context menu it shares with the bars. The tray icon
// record lives in AppState; it owns the icon picture it drew (a stock icon is only borrowed)
// and remembers whether the shell holds the icon: one the shell refused (a busy shell at
// sign-in) is added again later, and only one it holds is removed again.

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <string_view>

#include "app/tray_icon_rules.hpp"
#include "base/result.hpp"
#include "base/unique_handle_win.hpp"
#include "config/rgb.hpp"
#include "settings/ui_text.hpp"

namespace vessa {

struct AppState;

// Identity of the icon towards the shell.
inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

// The picture the shell shows: owned (destroyed with the record) when the program drew it,
// borrowed when it is the system's stock application icon.
class TrayPicture {
 public:
  void own(UniqueHicon icon) noexcept {
    owned_ = std::move(icon);
    handle_ = owned_.get();
  }
  void borrow(HICON icon) noexcept {
    owned_.reset();
    handle_ = icon;
  }
  void clear() noexcept { borrow(nullptr); }

  [[nodiscard]] HICON get() const noexcept { return handle_; }
  [[nodiscard]] bool owned() const noexcept { return owned_.valid(); }

 private:
  UniqueHicon owned_;
  HICON handle_ = nullptr;
};

// A balloon the icon shows once, as soon as the shell holds the icon.
struct TrayNotice {
  std::u16string title;
  std::u16string text;
};

struct TrayIcon {
  HWND owner = nullptr;
  std::optional<Rgb> color;  // from tray_icon_color when the record was made
  bool registered = false;   // the shell holds the icon; it must be removed again
  TrayPicture picture;
  std::optional<TrayNotice> notice;  // waits for the icon to be added
};

// Adds the icon with `tip` as its tip text when the shell does not hold it yet, then shows
// the waiting notice; nothing when the shell holds it already.
[[nodiscard]] Status add_tray_icon(TrayIcon& icon, std::string_view tip);
// Gives the icon a freshly drawn picture (a theme, display or DPI change): a held icon is
// modified in place; a shell that has not taken the icon is not called.
[[nodiscard]] Status refresh_tray_icon(TrayIcon& icon, std::string_view tip);
// The shell restarted and the icon went with it: adds it with a freshly drawn picture.
[[nodiscard]] Status readd_tray_icon(TrayIcon& icon, std::string_view tip);
// Destroys the owned picture and takes the icon out of the notification area.
void remove_tray_icon(TrayIcon& icon);

// Shows the context menu at the cursor and returns the chosen command, if any. The owner is
// brought to the foreground so that a click elsewhere closes the menu: it must be a top-level
// window (the bar window in overlay mode, else the hidden broadcast window).
[[nodiscard]] std::optional<MenuCommand> show_context_menu(HWND menu_owner, const TextTable& texts, bool visible);
// Runs a menu command on the current bar window (a shell restart during the menu may have
// replaced the one the menu was opened from).
void run_command(AppState& state, MenuCommand command);

}  // namespace vessa
