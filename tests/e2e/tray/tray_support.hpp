#pragma once
// Helpers for the tray icon, context menu and tooltip tests: the notification area's first
// icon cell, popup menus and reference menus built by the test itself (pointer input comes
// from pointer_win.hpp).

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "harness_win.hpp"
#include "menus_win.hpp"
#include "pointer_win.hpp"
#include "settings/ui_text.hpp"

namespace vessa::test {

// Wine's taskbar puts the first notification-area icon in this 20 x 20 cell.
inline constexpr RECT kFirstTrayCell{1260, 780, 1280, 800};
inline constexpr POINT kFirstTrayIconCentre{1270, 790};


// Lengths of the runs of `color` in each pixel row of `cell` that has any, top to bottom.
std::vector<int> color_rows(const ScreenShot& shot, const RECT& cell, std::uint32_t color);

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
  // The same point on `shown`, a menu with these items that may have opened somewhere else.
  [[nodiscard]] POINT item_centre_on(HWND shown, std::size_t index) const {
    RECT where{};
    GetWindowRect(shown, &where);
    const POINT centre = item_centre(index);
    return POINT{centre.x - rect.left + where.left, centre.y - rect.top + where.top};
  }
};
MenuPicture picture_of(HWND menu_window);

// Where the pointer waits while a menu's picture is taken: outside every menu, so that no
// item is highlighted and no tip of the shell's shows over it.
inline constexpr POINT kPointerRest{100, 100};

// The texts of the language the program picks by itself (language = "auto").
const TextTable& auto_texts();

// The four menu texts of a text table (UTF-8), in menu order.
std::vector<std::string> menu_texts(const TextTable& texts);

// Opens, in this process, the menu the program is expected to show: items `texts` (UTF-8),
// a separator before the last one, the first checked when `checked`, at `at`, and returns
// its picture once it is drawn, with the pointer at rest. The menu is closed again before
// this returns.
MenuPicture reference_menu(const std::vector<std::string>& texts, bool checked, POINT at);

// Moves the pointer to rest and takes the picture of an open menu, once the menu shows on the
// screen and holds still.
MenuPicture rested_picture_of(HWND menu_window);

// How many pixels of two pictures differ (all when they are not at the same place).
std::size_t differing_pixels(const MenuPicture& a, const MenuPicture& b);

// The same over the part of the menu above item `item` of the reference: the shell's own tip
// for the tray icon may cover the menu's lower corner (Wine shows it while the menu is open).
std::size_t differing_pixels_above(const MenuPicture& real, const MenuPicture& reference, std::size_t item);

// Sends the tray callback message the shell would send for `event` (version 4 layout).
void post_tray_event(HWND bar_window, UINT event, POINT at);

// Waits until the first icon cell shows exactly the four bars of a 16 x 16 icon in `color`
// (the fully covered parts of bars 14, 10, 6 and 12 pixels long; their caps are blended with
// the taskbar), or until it holds no pixel of `color` at all.
bool tray_cell_shows_icon(std::uint32_t color, std::chrono::milliseconds timeout = 10s);
bool tray_cell_free_of(std::uint32_t color, std::chrono::milliseconds timeout = 5s);

// The width of `text` in the tooltip's default font (Segoe UI, or what Wine maps it to) at a
// pixel height, measured the way a program on this desktop would; the widest of `texts`.
int text_width(const std::wstring& text, int pixel_height = 12);
int widest(std::initializer_list<const wchar_t*> texts, int pixel_height = 12);

// The tooltip's size at 96 DPI for `rows` rows whose widest label and value are among the
// given texts: 8 + 24 + 14 + 2 x 12 pixels around the two columns, 19 per row and 9 above and
// below.
SIZE tooltip_size_at_96(std::initializer_list<const wchar_t*> labels, std::initializer_list<const wchar_t*> values,
                        int rows);
// The same for items = ["memory", "net"]: rows Memory, Receive and Send whatever the machine
// has, with values up to "100%" and "999 GB/s".
SIZE memory_and_network_tooltip_size();

}  // namespace vessa::test
