#pragma once
// Helpers for the tray icon, context menu and tooltip tests: the notification area's first
// icon cell, popup menus and reference menus built by the test itself (pointer input comes
// from pointer_win.hpp).

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "harness_win.hpp"
#include "pointer_win.hpp"

namespace vessa::test {

// Wine's taskbar puts the first notification-area icon in this 20 x 20 cell.
inline constexpr RECT kFirstTrayCell{1260, 780, 1280, 800};
inline constexpr POINT kFirstTrayIconCentre{1270, 790};


// Lengths of the runs of `color` in each pixel row of `cell` that has any, top to bottom.
std::vector<int> color_rows(const ScreenShot& shot, const RECT& cell, std::uint32_t color);

// The visible popup menu window (#32768) of process `pid`.
std::optional<HWND> visible_menu(DWORD pid);
std::optional<HWND> wait_for_menu(DWORD pid, std::chrono::milliseconds timeout = 5s);
bool wait_for_no_menu(DWORD pid, std::chrono::milliseconds timeout = 5s);

// A screenshot of a menu window: its rectangle and its pixels.
struct MenuPicture {
  RECT rect{};
  std::vector<std::uint32_t> pixels;
  std::vector<RECT> items;  // the items, separator included, relative to the menu window (reference only)

  // The screen point at the middle of item `index`.
  [[nodiscard]] POINT item_centre(std::size_t index) const {
    const RECT& r = items.at(index);
    return POINT{rect.left + (r.left + r.right) / 2, rect.top + (r.top + r.bottom) / 2};
  }
};
MenuPicture picture_of(HWND menu_window);

// Where the pointer waits while a menu's picture is taken: outside every menu, so that no
// item is highlighted and no tip of the shell's shows over it.
inline constexpr POINT kPointerRest{100, 100};

// Opens, in this process, the menu the program is expected to show: items `texts` (UTF-8),
// a separator before the last one, the first checked when `checked`, at `at`, and returns
// its picture once it is drawn, with the pointer at rest. The menu is closed again before
// this returns.
MenuPicture reference_menu(const std::vector<std::string>& texts, bool checked, POINT at);

// Moves the pointer to rest and takes the picture of an open menu.
MenuPicture rested_picture_of(HWND menu_window);

// How many pixels of two pictures differ (all when they are not at the same place).
std::size_t differing_pixels(const MenuPicture& a, const MenuPicture& b);

// The same over the part of the menu above item `item` of the reference: the shell's own tip
// for the tray icon may cover the menu's lower corner (Wine shows it while the menu is open).
std::size_t differing_pixels_above(const MenuPicture& real, const MenuPicture& reference, std::size_t item);

// Sends the tray callback message the shell would send for `event` (version 4 layout).
void post_tray_event(HWND bar_window, UINT event, POINT at);

// Visible windows of class `class_name` of process `pid`.
std::vector<HWND> visible_windows(DWORD pid, const wchar_t* class_name);

}  // namespace vessa::test
