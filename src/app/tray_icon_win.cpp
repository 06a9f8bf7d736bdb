#include "app/tray_icon_win.hpp"

#include <algorithm>
#include <cstring>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "app/bar_window_win.hpp"
#include "app/settings_command_win.hpp"
#include "base/win_error_win.hpp"
#include "base/wide_win.hpp"
#include "config/colors.hpp"
#include "config/theme_win.hpp"
#include "render/tray_icon_image_win.hpp"

namespace vessa {
namespace {

// The structure as the shell has known it since Vista; the shell checks the size.
static_assert(sizeof(NOTIFYICONDATAW) == 976);

NOTIFYICONDATAW identity(const TrayIcon& icon) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(NOTIFYICONDATAW);
  data.hWnd = icon.owner;
  data.uID = kTrayIconId;
  return data;
}

// Draws the picture for the current small-icon size and colour; the stock icon when that
// fails.
Status replace_picture(TrayIcon& icon) {
  const std::int32_t width = tray_icon_side(GetSystemMetrics(SM_CXSMICON));
  const std::int32_t height = tray_icon_side(GetSystemMetrics(SM_CYSMICON));
  const Rgb color = tray_icon_color_for(icon.color, taskbar_is_dark());
  Result<UniqueHicon> drawn = draw_tray_icon(width, height, color);
  if (drawn) {
    icon.picture.own(std::move(*drawn));
    return {};
  }
  HICON stock = LoadIconW(nullptr, IDI_APPLICATION);
  if (stock == nullptr) {
    Error error = last_error("トレイアイコンを登録できません");
    icon.picture.clear();
    return error;
  }
  icon.picture.borrow(stock);
  return {};
}

NOTIFYICONDATAW icon_data(const TrayIcon& icon, std::string_view tip) {
  NOTIFYICONDATAW data = identity(icon);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon.picture.get();
  const std::u16string text = tray_tip_text(tip);
  std::memcpy(data.szTip, text.data(), text.size() * sizeof(char16_t));  // the rest stays zero
  return data;
}

// The waiting notice as a balloon from the icon, once: a balloon the shell refuses is not
// worth another try, since the --debug line says the same.
void show_notice(TrayIcon& icon) {
  if (!icon.notice) return;
  NOTIFYICONDATAW data = identity(icon);
  data.uFlags = NIF_INFO;
  data.dwInfoFlags = NIIF_WARNING;
  const TrayNotice& notice = *icon.notice;
  std::memcpy(data.szInfoTitle, notice.title.data(),
              std::min(notice.title.size(), kMaxBalloonTitleUnits) * sizeof(char16_t));
  std::memcpy(data.szInfo, notice.text.data(), std::min(notice.text.size(), kMaxBalloonTextUnits) * sizeof(char16_t));
  Shell_NotifyIconW(NIM_MODIFY, &data);
  icon.notice.reset();
}

// NIM_ADD, then the version that gives the icon its tooltip and version-4 callbacks.
Status add_to_shell(TrayIcon& icon, NOTIFYICONDATAW& data) {
  if (!Shell_NotifyIconW(NIM_ADD, &data)) return Error("トレイアイコンを登録できません");
  data.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconW(NIM_SETVERSION, &data);
  icon.registered = true;
  show_notice(icon);
  return {};
}

void append_item(HMENU menu, UINT flags, MenuCommand command, std::string_view text) {
  const std::wstring wide = widen(text);
  AppendMenuW(menu, flags, menu_item_id(command), wide.c_str());  // a failed append is left out
}

}  // namespace

Status add_tray_icon(TrayIcon& icon, std::string_view tip) {
  if (icon.registered) return {};
  if (icon.picture.get() == nullptr) {
    if (Status drawn = replace_picture(icon); !drawn) return drawn;
  }
  NOTIFYICONDATAW data = icon_data(icon, tip);
  return add_to_shell(icon, data);
}

Status refresh_tray_icon(TrayIcon& icon, std::string_view tip) {
  if (Status drawn = replace_picture(icon); !drawn) return drawn;
  if (!icon.registered) return {};  // the reattach check or the shell's restart adds it
  // The shell still holds the icon after a theme, display or DPI change: one call gives it
  // the new picture.
  NOTIFYICONDATAW data = icon_data(icon, tip);
  if (Shell_NotifyIconW(NIM_MODIFY, &data)) return {};
  return Error("トレイアイコンを登録できません");
}

Status readd_tray_icon(TrayIcon& icon, std::string_view tip) {
  icon.registered = false;  // gone with the old shell
  if (Status drawn = replace_picture(icon); !drawn) return drawn;
  NOTIFYICONDATAW data = icon_data(icon, tip);
  if (add_to_shell(icon, data).ok()) return {};
  // A reattach check may have added the icon to the new shell before it announced itself.
  if (!Shell_NotifyIconW(NIM_MODIFY, &data)) return Error("トレイアイコンを登録できません");
  icon.registered = true;
  return {};
}

void remove_tray_icon(TrayIcon& icon) {
  icon.picture.clear();
  if (icon.registered) {
    NOTIFYICONDATAW data = identity(icon);
    Shell_NotifyIconW(NIM_DELETE, &data);
    icon.registered = false;
  }
}

std::optional<MenuCommand> show_context_menu(HWND menu_owner, const TextTable& texts, bool visible) {
  UniqueHmenu menu(CreatePopupMenu());
  if (!menu) return std::nullopt;
  append_item(menu.get(), MF_STRING | (visible ? MF_CHECKED : MF_UNCHECKED), MenuCommand::Show,
              texts.text(TextId::MenuShow));
  append_item(menu.get(), MF_STRING, MenuCommand::Settings, texts.text(TextId::MenuSettings));
  append_item(menu.get(), MF_STRING, MenuCommand::Reattach, texts.text(TextId::MenuReattach));
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  append_item(menu.get(), MF_STRING, MenuCommand::Exit, texts.text(TextId::MenuExit));

  POINT cursor{};
  if (!GetCursorPos(&cursor)) return std::nullopt;
  // The menu closes on a click elsewhere only while its owner is in the foreground.
  SetForegroundWindow(menu_owner);
  const BOOL chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                                     menu_owner, nullptr);
  menu.reset();
  PostMessageW(menu_owner, WM_NULL, 0, 0);  // lets the menu's modal state end cleanly
  return menu_command_from_id(chosen);
}

void run_command(AppState& state, MenuCommand command) {
  switch (command) {
    case MenuCommand::Show:
      state.visible = !state.visible;
      show_or_hide_bars(state);
      if (state.visible) layout(state);  // placed and drawn at once
      break;
    case MenuCommand::Settings:
      open_settings(state);
      break;
    case MenuCommand::Reattach:
      attach(state);
      break;
    case MenuCommand::Exit:
      destroy_bar_window(state);  // WM_DESTROY removes the icon and ends the loop
      break;
  }
}

}  // namespace vessa
