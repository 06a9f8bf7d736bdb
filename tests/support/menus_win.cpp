#include "menus_win.hpp"

namespace vessa::test {

std::optional<HWND> visible_menu(DWORD pid) {
  const auto menus = visible_windows(pid, L"#32768");
  if (menus.empty()) return std::nullopt;
  return menus.front();
}

std::optional<HWND> wait_for_menu(DWORD pid, std::chrono::milliseconds timeout) {
  std::optional<HWND> menu;
  wait_until([&] { return (menu = visible_menu(pid)).has_value(); }, timeout);
  if (menu) Sleep(100);  // ready for input by then
  return menu;
}

bool wait_for_no_menu(DWORD pid, std::chrono::milliseconds timeout) {
  return wait_until([&] { return !visible_menu(pid).has_value(); }, timeout);
}

}  // namespace vessa::test
