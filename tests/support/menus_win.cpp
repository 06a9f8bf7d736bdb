#include "menus_win.hpp"

namespace vessa::test {

std::optional<HWND> visible_menu(DWORD pid) {
  const auto menus = visible_windows(pid, L"#32768");
  if (menus.empty()) return std::nullopt;
  return menus.front();
}

namespace {

// A menu takes the pointer only once its thread tracks it (menu mode, with the capture); a click
// made before then goes to the window beneath, and the menu stays open.
bool tracking(HWND menu) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(menu, nullptr), &info) && (info.flags & GUI_INMENUMODE) != 0 &&
         info.hwndCapture != nullptr;
}

}  // namespace

std::optional<HWND> wait_for_menu(DWORD pid, std::chrono::milliseconds timeout) {
  std::optional<HWND> menu;
  wait_until([&] { return (menu = visible_menu(pid)).has_value() && tracking(*menu); }, timeout);
  return menu;
}

bool wait_for_no_menu(DWORD pid, std::chrono::milliseconds timeout) {
  return wait_until([&] { return !visible_menu(pid).has_value(); }, timeout);
}

}  // namespace vessa::test
