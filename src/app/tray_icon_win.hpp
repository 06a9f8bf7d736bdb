#pragma once
// The notification-area icon and the context menu it shares with the bars.

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string_view>

#include "base/result.hpp"
#include "base/unique_handle_win.hpp"
#include "config/rgb.hpp"
#include "settings/ui_text.hpp"

namespace vessa {

struct AppState;

// Identity of the icon towards the shell.
inline constexpr UINT kTrayIconId = 1;
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;

struct TrayIcon {
  HWND owner = nullptr;
  std::optional<Rgb> color;  // from tray_icon_color when the record was made
  bool registered = false;
};

enum class MenuCommand : int { Show = 0, Settings = 1, Reattach = 2, Exit = 3 };

// Adds (or re-registers) the icon with `tip` as its tip text.
[[nodiscard]] Status add_tray_icon(TrayIcon& icon, std::string_view tip);
void remove_tray_icon(TrayIcon& icon);

// Shows the context menu at the cursor and returns the chosen command, if any.
[[nodiscard]] std::optional<MenuCommand> show_context_menu(HWND bar_window, const TextTable& texts, bool visible);
void run_command(AppState& state, HWND bar_window, MenuCommand command);

}  // namespace vessa
