#include "app/tray_icon_win.hpp"

#include "app/app_state_win.hpp"

namespace vessa {

Status add_tray_icon(TrayIcon& /*icon*/, std::string_view /*tip*/) {
  return Error("トレイアイコンを登録できません");
}

void remove_tray_icon(TrayIcon& icon) { icon.registered = false; }

std::optional<MenuCommand> show_context_menu(HWND /*bar_window*/, const TextTable& /*texts*/, bool /*visible*/) {
  return std::nullopt;
}

void run_command(AppState& /*state*/, HWND /*bar_window*/, MenuCommand /*command*/) {}

}  // namespace vessa
