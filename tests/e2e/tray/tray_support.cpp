#include "tray_support.hpp"

#include <algorithm>
#include <thread>

#include "app/startup_rules.hpp"
#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"
#include "base/window_win.hpp"

namespace vessa::test {

std::vector<int> color_rows(const ScreenShot& shot, const RECT& cell, std::uint32_t color) {
  std::vector<int> rows;
  for (int y = cell.top; y < cell.bottom; ++y) {
    int count = 0;
    for (int x = cell.left; x < cell.right; ++x) count += shot.at(x, y) == color ? 1 : 0;
    if (count != 0) rows.push_back(count);
  }
  return rows;
}

bool tray_cell_shows_icon(std::uint32_t color, std::chrono::milliseconds timeout) {
  static const std::vector<int> kIconRows = {12, 12, 8, 8, 4, 4, 10, 10};
  return wait_until([&] { return color_rows(capture_screen(), kFirstTrayCell, color) == kIconRows; }, timeout);
}

bool tray_cell_free_of(std::uint32_t color, std::chrono::milliseconds timeout) {
  return wait_until([&] { return color_rows(capture_screen(), kFirstTrayCell, color).empty(); }, timeout);
}

int text_width(const std::wstring& text, int pixel_height) {
  UniqueHfont font(CreateFontW(-pixel_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, L"Segoe UI"));
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  const SelectionGuard selected(dc.get(), font.get());
  RECT rect{};
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return rect.right - rect.left;
}

int widest(std::initializer_list<const wchar_t*> texts, int pixel_height) {
  int width = 0;
  for (const wchar_t* text : texts) width = std::max(width, text_width(text, pixel_height));
  return width;
}

SIZE tooltip_size_at_96(std::initializer_list<const wchar_t*> labels, std::initializer_list<const wchar_t*> values,
                        int rows) {
  return SIZE{8 + 24 + 14 + 2 * 12 + widest(labels) + widest(values), 19 * rows + 2 * 9};
}

SIZE memory_and_network_tooltip_size() {
  return tooltip_size_at_96({L"Memory", L"Receive", L"Send"}, {L"100%", L"999 GB/s"}, 3);
}


MenuPicture picture_of(HWND menu_window) {
  MenuPicture picture;
  GetWindowRect(menu_window, &picture.rect);
  const ScreenShot shot = capture_screen();
  for (int y = picture.rect.top; y < picture.rect.bottom; ++y) {
    for (int x = picture.rect.left; x < picture.rect.right; ++x) {
      const bool inside = x >= 0 && y >= 0 && x < shot.width && y < shot.height;
      picture.pixels.push_back(inside ? shot.at(x, y) : 0xFF000000u);
    }
  }
  return picture;
}

std::size_t differing_pixels(const MenuPicture& a, const MenuPicture& b) {
  if (a.pixels.size() != b.pixels.size() || !EqualRect(&a.rect, &b.rect)) {
    return std::max(a.pixels.size(), b.pixels.size());
  }
  std::size_t count = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i] ? 1 : 0;
  return count;
}

std::size_t differing_pixels_above(const MenuPicture& real, const MenuPicture& reference, std::size_t item) {
  const long width = reference.rect.right - reference.rect.left;
  if (real.pixels.size() != reference.pixels.size() || !EqualRect(&real.rect, &reference.rect)) {
    return std::max(real.pixels.size(), reference.pixels.size());
  }
  const std::size_t end = static_cast<std::size_t>(reference.items.at(item).top) * static_cast<std::size_t>(width);
  std::size_t count = 0;
  for (std::size_t i = 0; i < end && i < real.pixels.size(); ++i) count += real.pixels[i] != reference.pixels[i] ? 1 : 0;
  return count;
}

namespace {

// The hidden window that owns the reference menu.
class MenuOwner : public Window<MenuOwner> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaTestMenuOwner";
  static HCURSOR class_cursor() noexcept { return nullptr; }

  MenuOwner() noexcept { create(WS_EX_TOOLWINDOW, WS_POPUP, L"", 0, 0, 1, 1, nullptr); }

  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    return default_handling(message, wparam, lparam);
  }
};

}  // namespace

const TextTable& auto_texts() {
  return ui_texts(resolve_ui_language(Language::Auto, GetUserDefaultUILanguage()));
}

std::vector<std::string> menu_texts(const TextTable& texts) {
  return {std::string(texts.text(TextId::MenuShow)), std::string(texts.text(TextId::MenuSettings)),
          std::string(texts.text(TextId::MenuReattach)), std::string(texts.text(TextId::MenuExit))};
}

namespace {

// A menu that is on the screen shows its background just inside its frame, top left and
// bottom right; before that, a picture of its rectangle shows what was beneath (an earlier
// tooltip, the desktop).
bool shows_menu_background(const MenuPicture& picture) {
  const long width = picture.rect.right - picture.rect.left;
  const long height = picture.rect.bottom - picture.rect.top;
  if (width < 8 || height < 8 || picture.pixels.size() != static_cast<std::size_t>(width * height)) return false;
  const COLORREF menu = GetSysColor(COLOR_MENU);
  const std::uint32_t background = (std::uint32_t{GetRValue(menu)} << 16) | (std::uint32_t{GetGValue(menu)} << 8) |
                                   std::uint32_t{GetBValue(menu)};
  const auto at = [&](long x, long y) { return picture.pixels[static_cast<std::size_t>(y * width + x)]; };
  return at(2, 2) == background && at(width - 3, height - 3) == background;
}

}  // namespace

MenuPicture rested_picture_of(HWND menu_window) {
  move_pointer(kPointerRest.x, kPointerRest.y);
  Sleep(300);
  // Under load Wine may put the menu on the screen later still: the picture counts once it
  // shows the menu and holds still from one look to the next.
  MenuPicture picture = picture_of(menu_window);
  for (int look = 0; look < 30; ++look) {
    Sleep(100);
    MenuPicture next = picture_of(menu_window);
    const bool settled = shows_menu_background(next) && next.pixels == picture.pixels;
    picture = std::move(next);
    if (settled) break;
  }
  return picture;
}

MenuPicture reference_menu(const std::vector<std::string>& texts, bool checked, POINT at) {
  MenuPicture picture;
  HWND owner_window = nullptr;
  UniqueHmenu menu;
  const UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread worker([&] {
    MenuOwner owner;  // a window is destroyed by the thread that made it
    owner_window = owner.hwnd();
    menu.reset(CreatePopupMenu());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (i + 1 == texts.size()) AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      const UINT flags = MF_STRING | (i == 0 && checked ? MF_CHECKED : 0u);
      AppendMenuW(menu.get(), flags, static_cast<UINT_PTR>(100 + i), widen(texts[i]).c_str());
    }
    SetEvent(ready.get());
    SetForegroundWindow(owner_window);
    TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, owner_window, nullptr);
    menu.reset();
  });
  WaitForSingleObject(ready.get(), 5000);
  if (const auto window = wait_for_menu(GetCurrentProcessId())) {
    picture = rested_picture_of(*window);
    const int count = GetMenuItemCount(menu.get());
    for (int i = 0; i < count; ++i) {
      RECT item{};
      GetMenuItemRect(owner_window, menu.get(), static_cast<UINT>(i), &item);
      // Wine gives the rectangle relative to the menu window; Windows gives screen coordinates.
      if (item.left >= picture.rect.left && item.top >= picture.rect.top) {
        OffsetRect(&item, -picture.rect.left, -picture.rect.top);
      }
      picture.items.push_back(item);
    }
  }
  PostMessageW(owner_window, WM_CANCELMODE, 0, 0);
  worker.join();
  return picture;
}

void post_tray_event(HWND bar_window, UINT event, POINT at) {
  const WPARAM position = MAKEWPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y));
  PostMessageW(bar_window, WM_APP + 1, position, MAKELPARAM(event, 1));
}

}  // namespace vessa::test
