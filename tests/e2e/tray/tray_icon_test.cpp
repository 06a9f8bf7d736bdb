// The notification-area icon: its picture as an HICON, and the real program's icon in Wine's
// taskbar, in the colour the theme or the configuration asks for.
#include <gtest/gtest.h>

#include <vector>

#include "render/tray_icon_image_win.hpp"
#include "tray_support.hpp"

namespace vessa::test {
namespace {

constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// The pixels of an icon's colour bitmap, top-down, as 0xAARRGGBB.
std::vector<std::uint32_t> color_pixels(HICON icon, int& width, int& height) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
  width = bitmap.bmWidth;
  height = bitmap.bmHeight;
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  request.bmiHeader.biWidth = width;
  request.bmiHeader.biHeight = -height;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  request.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(height), pixels.data(), &request, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return pixels;
}

TEST(Shell_TrayIconImage, IconHoldsTheFourBarsPremultiplied) {
  Result<UniqueHicon> icon = draw_tray_icon(16, 16, rgb_hex(0x1E90FF));
  ASSERT_TRUE(icon.ok()) << icon.error().full_text();
  int width = 0;
  int height = 0;
  const auto pixels = color_pixels(icon->get(), width, height);
  ASSERT_EQ(width, 16);
  ASSERT_EQ(height, 16);
  const auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y) * 16 + static_cast<std::size_t>(x)]; };
  EXPECT_EQ(at(5, 1), 0xFF1E90FFu);
  EXPECT_EQ(at(13, 2), 0xFF1E90FFu);
  EXPECT_EQ(at(1, 1), 0xCF1875CFu);  // the cap: alpha 207, each channel (c * 207 + 127) / 255
  EXPECT_EQ(at(0, 0), 0u);
  EXPECT_EQ(at(4, 3), 0u);
  EXPECT_EQ(at(6, 9), 0xCF1875CFu);  // the short third bar ends in its cap at column 6
  EXPECT_EQ(at(7, 9), 0u);
  EXPECT_EQ(at(5, 9), 0xFF1E90FFu);
}

TEST(Shell_TrayIconImage, RefusedSizesGiveAnErrorAndNoIcon) {
  EXPECT_FALSE(draw_tray_icon(0, 16, Rgb{}).ok());
  EXPECT_FALSE(draw_tray_icon(16, -1, Rgb{}).ok());
  EXPECT_TRUE(draw_tray_icon(8, 8, Rgb{}).ok());
  EXPECT_TRUE(draw_tray_icon(256, 32, Rgb{}).ok());
}

TEST(Shell_TrayIconImage, DrawingLeavesNoGdiObjectsBehind) {
  const DWORD before = process_figures(GetCurrentProcess()).gdi_objects;
  const DWORD user_before = process_figures(GetCurrentProcess()).user_objects;
  for (int i = 0; i < 500; ++i) {
    Result<UniqueHicon> icon = draw_tray_icon(16 + i % 17, 16, rgb_hex(static_cast<std::uint32_t>(i)));
    ASSERT_TRUE(icon.ok());
  }
  EXPECT_EQ(process_figures(GetCurrentProcess()).gdi_objects, before);
  EXPECT_EQ(process_figures(GetCurrentProcess()).user_objects, user_before);
}

// Wine's taskbar has no notification-area window, so the bars (anchored to it by default) end
// 8 pixels before the taskbar's end, over the first icon cell: these tests keep them at the left.
constexpr char kBarsAtTheLeft[] = "[layout]\nanchor = \"left\"\n";

void set_light_theme(std::optional<DWORD> value) {
  if (value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"SystemUsesLightTheme", REG_DWORD, &*value, sizeof(DWORD));
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"SystemUsesLightTheme");
  }
}

// Leaves the theme value as the session started: absent.
struct ThemeValue {
  explicit ThemeValue(std::optional<DWORD> value) { set_light_theme(value); }
  ~ThemeValue() { set_light_theme(std::nullopt); }
  ThemeValue(const ThemeValue&) = delete;
  ThemeValue& operator=(const ThemeValue&) = delete;
};

TEST(Shell_TrayIcon, AppearsLightGreyWithoutAThemeValueAndGoesWithTheProcess) {
  const ThemeValue theme(std::nullopt);
  ASSERT_TRUE(tray_cell_free_of(0xF0F0F0)) << "another icon is in the cell";
  VessaFolder folder;
  folder.write_config(kBarsAtTheLeft);
  VessaProcess vessa(folder.exe(), L"");
  const auto bar = wait_for_bar_window(vessa.pid());
  ASSERT_TRUE(bar.has_value());
  const bool shown = tray_cell_shows_icon(0xF0F0F0);
  if (!shown) capture_screen().save_bmp(artefact_folder() / L"tray_icon_light.bmp");
  EXPECT_TRUE(shown) << "rows: " << ::testing::PrintToString(color_rows(capture_screen(), kFirstTrayCell, 0xF0F0F0));

  PostMessageW(*bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa.wait(), std::optional<DWORD>(0));
  EXPECT_TRUE(tray_cell_free_of(0xF0F0F0)) << "the icon stayed after the exit";
}

TEST(Shell_TrayIcon, IsDarkGreyOnALightTaskbarAndTakesTheNewColourAfterAThemeChange) {
  const ThemeValue theme(1);
  VessaFolder folder;
  folder.write_config(kBarsAtTheLeft);
  VessaProcess vessa(folder.exe(), L"");
  const auto bar = wait_for_bar_window(vessa.pid());
  ASSERT_TRUE(bar.has_value());
  EXPECT_TRUE(tray_cell_shows_icon(0x202020));

  // The shell still holds the icon: re-registration must change the picture in place.
  set_light_theme(0);
  // As the system announces a theme change (a message that can only be sent, not posted).
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutW(*bar, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                                SMTO_ABORTIFHUNG, 5000, &ignored),
            0);
  EXPECT_TRUE(tray_cell_shows_icon(0xF0F0F0));
  EXPECT_TRUE(color_rows(capture_screen(), kFirstTrayCell, 0x202020).empty());

  // A display change re-registers as well.
  set_light_theme(1);
  PostMessageW(*bar, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
  EXPECT_TRUE(tray_cell_shows_icon(0x202020));

  PostMessageW(*bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa.wait(), std::optional<DWORD>(0));
  EXPECT_TRUE(tray_cell_free_of(0x202020));
}

TEST(Shell_TrayIcon, AConfiguredColourWinsOverTheTheme) {
  const ThemeValue theme(1);
  VessaFolder folder;
  folder.write_config(std::string(kBarsAtTheLeft) + "[appearance]\ntray_icon_color = \"#1E90FF\"\n");
  VessaProcess vessa(folder.exe(), L"");
  const auto bar = wait_for_bar_window(vessa.pid());
  ASSERT_TRUE(bar.has_value());
  EXPECT_TRUE(tray_cell_shows_icon(0x1E90FF));
  EXPECT_TRUE(color_rows(capture_screen(), kFirstTrayCell, 0x202020).empty());
  PostMessageW(*bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa.wait(), std::optional<DWORD>(0));
}

TEST(Shell_TrayIcon, WithTrayIconOffThereIsNone) {
  const ThemeValue theme(std::nullopt);
  VessaFolder folder;
  folder.write_config(std::string(kBarsAtTheLeft) + "[behavior]\ntray_icon = false\n");
  VessaProcess vessa(folder.exe(), L"");
  const auto bar = wait_for_bar_window(vessa.pid());
  ASSERT_TRUE(bar.has_value());
  // A theme change must not bring one in either.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(*bar, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"), SMTO_ABORTIFHUNG,
                      5000, &ignored);
  EXPECT_FALSE(tray_cell_shows_icon(0xF0F0F0, 1500ms));
  PostMessageW(*bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa.wait(), std::optional<DWORD>(0));
}

// At 144 DPI the small-icon size is 24 x 24: longer, thicker-spaced bars (pad 2, gap 3).
TEST(Dpi144_TrayIcon, IsDrawnAtTheLargerSmallIconSize) {
  const ThemeValue theme(std::nullopt);
  VessaFolder folder;
  folder.write_config(kBarsAtTheLeft);
  VessaProcess vessa(folder.exe(), L"");
  const auto bar = wait_for_bar_window(vessa.pid());
  ASSERT_TRUE(bar.has_value());
  const RECT corner{1180, 772, 1280, 800};  // the taskbar is 28 px high here
  const std::vector<int> rows = {18, 18, 12, 12, 7, 7, 15, 15};
  const bool shown = wait_until([&] { return color_rows(capture_screen(), corner, 0xF0F0F0) == rows; }, 10s);
  if (!shown) capture_screen().save_bmp(artefact_folder() / L"tray_icon_144.bmp");
  EXPECT_TRUE(shown) << ::testing::PrintToString(color_rows(capture_screen(), corner, 0xF0F0F0));
  PostMessageW(*bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa.wait(), std::optional<DWORD>(0));
}

// A shell restart loses every tray icon; the shell then broadcasts TaskbarCreated to top-level
// windows. In tray-only mode the bar window is message-only and hears no broadcast, yet the
// icon is the program's only way in: it must come back.
TEST(Shell_TrayIcon, TrayOnlyBringsTheIconBackAfterAShellRestart) {
  ASSERT_TRUE(tray_cell_free_of(0xF0F0F0));
  VessaFolder folder;
  folder.write_config("[behavior]\nattach_mode = \"tray_only\"\n");
  VessaProcess vessa(folder.exe(), L"");
  const auto bar = wait_for_bar_window(vessa.pid());
  ASSERT_TRUE(bar.has_value());
  ASSERT_TRUE(describe_window(*bar).message_only);
  ASSERT_TRUE(tray_cell_shows_icon(0xF0F0F0));

  // What the shell's restart does to the icon: it is gone.
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = *bar;
  data.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  ASSERT_TRUE(tray_cell_free_of(0xF0F0F0));

  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(tray_cell_shows_icon(0xF0F0F0)) << "the icon did not come back";

  PostMessageW(*bar, WM_CLOSE, 0, 0);
  EXPECT_EQ(vessa.wait(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace vessa::test
