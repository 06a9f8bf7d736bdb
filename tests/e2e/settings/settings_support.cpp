#include "settings_support.hpp"

#include <map>

namespace vessa::test {

const MenuPicture& expected_tray_menu(const TextTable& texts) {
  static std::map<const TextTable*, MenuPicture> pictures;
  auto found = pictures.find(&texts);
  if (found == pictures.end()) {
    found = pictures.emplace(&texts, reference_menu(menu_texts(texts), true, kFirstTrayIconCentre)).first;
  }
  return found->second;
}

bool SettingsVessa::choose_from_menu(const TextTable& texts, std::size_t item) const {
  const MenuPicture& expected = expected_tray_menu(texts);
  if (expected.items.size() <= item) return false;
  for (int attempt = 0; attempt < 3; ++attempt) {
    // The menu opens where the pointer is.
    move_pointer(kFirstTrayIconCentre.x, kFirstTrayIconCentre.y);
    post_tray_event(bar, WM_CONTEXTMENU, kFirstTrayIconCentre);
    const auto menu = wait_for_menu(pid(), 3s);
    if (!menu) continue;
    const POINT centre = expected.item_centre_on(*menu, item);
    click(centre.x, centre.y);
    return wait_for_no_menu(pid());
  }
  return false;
}

std::optional<HWND> SettingsVessa::open_settings(const TextTable& texts) const {
  std::optional<HWND> window;
  const auto shown = [&] {
    for (HWND candidate : settings_windows()) {
      if (IsWindowVisible(candidate)) window = candidate;
    }
    return window.has_value();
  };
  // Wine closes a menu without its command when the activation moves on meanwhile (the taskbar
  // taking it from a program that just ended): the click then meets no menu. A second try
  // opens the menu again; a "Settings..." that does nothing fails every try.
  for (int attempt = 0; attempt < 3 && !window; ++attempt) {
    if (!choose_from_menu(texts, kSettingsItem)) return std::nullopt;
    wait_until(shown, 10s);
  }
  // Painted before anyone looks: a window of another thread paints while this call waits.
  if (window) RedrawWindow(*window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  return window;
}

bool SettingsVessa::settings_closed(std::chrono::milliseconds timeout) const {
  return wait_until([&] { return settings_windows().empty(); }, timeout);
}

HWND control_of(HWND settings, int id) { return GetDlgItem(settings, id); }

namespace {

LRESULT send(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Waits for a window that is busy for a moment, as a user's input would: with
  // SMTO_ABORTIFHUNG, a window that took no message for 5 s (a slow opening) lost it.
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wparam, lparam, SMTO_NORMAL, 5000, &result);
  return static_cast<LRESULT>(result);
}

}  // namespace

void click_control(HWND settings, int id) { send(control_of(settings, id), BM_CLICK, 0, 0); }

void choose_item(HWND settings, int id, int index) {
  HWND combo = control_of(settings, id);
  send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  send(settings, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void type_text(HWND settings, int id, const std::wstring& text) {
  send(control_of(settings, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void type_keys(HWND settings, int id, const std::wstring& text) {
  type_text(settings, id, L"");
  for (const wchar_t unit : text) send(control_of(settings, id), WM_CHAR, unit, 1);
}

bool is_checked(HWND settings, int id) { return send(control_of(settings, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void show_page(HWND settings, int page) {
  click_control(settings, control::kFirstTab + page);
  Sleep(300);
}

namespace {

ScreenShot picture_of_window(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  const ScreenShot screen = capture_screen();
  ScreenShot picture;
  picture.width = std::max(0L, std::min<long>(rect.right, screen.width) - std::max(0L, rect.left));
  picture.height = std::max(0L, std::min<long>(rect.bottom, screen.height) - std::max(0L, rect.top));
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(screen.at(std::max(0L, rect.left) + x, std::max(0L, rect.top) + y));
  }
  return picture;
}

}  // namespace

std::size_t pixels_of(HWND window, std::uint32_t color) {
  const ScreenShot picture = picture_of_window(window);
  return static_cast<std::size_t>(std::count(picture.pixels.begin(), picture.pixels.end(), color));
}

void save_picture(HWND window, const std::string& name) {
  picture_of_window(window).save_bmp(artefact_folder() / (name + ".bmp"));
}

void save_picture(const MenuPicture& picture, const std::string& name) {
  ScreenShot shot;
  shot.width = picture.rect.right - picture.rect.left;
  shot.height = picture.rect.bottom - picture.rect.top;
  shot.pixels = picture.pixels;
  if (shot.width > 0 && shot.height > 0 && shot.pixels.size() == static_cast<std::size_t>(shot.width) * shot.height) {
    shot.save_bmp(artefact_folder() / (name + ".bmp"));
  }
}

}  // namespace vessa::test
