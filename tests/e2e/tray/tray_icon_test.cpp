// The notification-area icon: its picture as an HICON, and the real program's icon in Wine's
// taskbar, in the colour the theme or the configuration asks for.
#include <gtest/gtest.h>

#include <vector>

#include "render/tray_icon_image_win.hpp"
#include "restore_guards_win.hpp"
#include "tray_support.hpp"

namespace vessa::test {
namespace {

// The pixels of an icon's colour bitmap, top-down, as 0xAARRGGBB.
std::vector<std::uint32_t> color_pixels(HICON icon, int& width, int& height) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {};
  const UniqueHbitmap color(info.hbmColor);
  const UniqueHbitmap mask(info.hbmMask);
  BITMAP bitmap{};
  GetObjectW(color.get(), sizeof(bitmap), &bitmap);
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
  const WindowDc screen(nullptr);
  GetDIBits(screen.get(), color.get(), 0, static_cast<UINT>(height), pixels.data(), &request, DIB_RGB_COLORS);
  return pixels;
}

TEST(Shell_TrayIconImage, IconHoldsTheFourBarsWithStraightAlpha) {
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
  EXPECT_EQ(at(1, 1), 0xCF1E90FFu);  // the cap: alpha 207 over the plain colour, as icons carry it
  EXPECT_EQ(at(0, 0), 0u);
  EXPECT_EQ(at(4, 3), 0u);
  EXPECT_EQ(at(6, 9), 0xCF1E90FFu);  // the short third bar ends in its cap at column 6
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

TEST(Shell_TrayIcon, AppearsLightGreyWithoutAThemeValueAndGoesWithTheProcess) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.remove();
  ASSERT_TRUE(tray_cell_free_of(0xF0F0F0)) << "another icon is in the cell";
  RunningVessa vessa(kBarsAtTheLeft);
  ASSERT_NE(vessa.bar, nullptr);
  const bool shown = tray_cell_shows_icon(0xF0F0F0);
  if (!shown) capture_screen().save_bmp(artefact_folder() / L"tray_icon_light.bmp");
  EXPECT_TRUE(shown) << "rows: " << ::testing::PrintToString(color_rows(capture_screen(), kFirstTrayCell, 0xF0F0F0));

  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
  EXPECT_TRUE(tray_cell_free_of(0xF0F0F0)) << "the icon stayed after the exit";
}

TEST(Shell_TrayIcon, IsDarkGreyOnALightTaskbarAndTakesTheNewColourAfterAThemeChange) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.set(DWORD{1});
  RunningVessa vessa(kBarsAtTheLeft);
  ASSERT_NE(vessa.bar, nullptr);
  EXPECT_TRUE(tray_cell_shows_icon(0x202020));

  // The shell still holds the icon: re-registration must change the picture in place.
  theme.set(DWORD{0});
  // As the system announces a theme change (a message that can only be sent, not posted).
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutW(vessa.bar, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"),
                                SMTO_ABORTIFHUNG, 5000, &ignored),
            0);
  EXPECT_TRUE(tray_cell_shows_icon(0xF0F0F0));
  EXPECT_TRUE(color_rows(capture_screen(), kFirstTrayCell, 0x202020).empty());

  // A display change re-registers as well.
  theme.set(DWORD{1});
  PostMessageW(vessa.bar, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
  EXPECT_TRUE(tray_cell_shows_icon(0x202020));

  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
  EXPECT_TRUE(tray_cell_free_of(0x202020));
}

TEST(Shell_TrayIcon, AConfiguredColourWinsOverTheTheme) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.set(DWORD{1});
  RunningVessa vessa(std::string(kBarsAtTheLeft) + "[appearance]\ntray_icon_color = \"#1E90FF\"\n");
  ASSERT_NE(vessa.bar, nullptr);
  EXPECT_TRUE(tray_cell_shows_icon(0x1E90FF));
  EXPECT_TRUE(color_rows(capture_screen(), kFirstTrayCell, 0x202020).empty());
  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
}

// The shell blends the icon's edges over the taskbar as straight alpha: the cap left of the first
// bar (coverage 207) shows colour * 207 / 255 + background * 48 / 255 in every channel.
TEST(Shell_TrayIcon, EdgesBlendThePlainColourOverTheTaskbar) {
  RunningVessa vessa(std::string(kBarsAtTheLeft) + "[appearance]\ntray_icon_color = \"#FF0000\"\n");
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(tray_cell_shows_icon(0xFF0000));
  const ScreenShot shot = capture_screen();
  // The first bar's first fully covered pixel is (2, 1) of the icon: the first in the cell.
  POINT first{-1, -1};
  for (int y = kFirstTrayCell.top; y < kFirstTrayCell.bottom && first.x < 0; ++y) {
    for (int x = kFirstTrayCell.left; x < kFirstTrayCell.right && first.x < 0; ++x) {
      if (shot.at(x, y) == 0xFF0000) first = POINT{x, y};
    }
  }
  ASSERT_GE(first.x, kFirstTrayCell.left + 2);
  const std::uint32_t background = shot.at(first.x - 2, first.y - 1);  // the icon's corner: nothing covered
  const auto blend = [&](std::uint32_t color, int shift) {
    const std::uint32_t c = (color >> shift) & 0xFF;
    const std::uint32_t b = (background >> shift) & 0xFF;
    return static_cast<int>((c * 207 + b * 48 + 127) / 255);
  };
  const std::uint32_t edge = shot.at(first.x - 1, first.y);
  for (const int shift : {16, 8, 0}) {
    EXPECT_NEAR(static_cast<int>((edge >> shift) & 0xFF), blend(0xFF0000, shift), 1)
        << std::hex << "edge " << edge << " over " << background;
  }
  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
}

TEST(Shell_TrayIcon, WithTrayIconOffThereIsNone) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.remove();
  RunningVessa vessa(std::string(kBarsAtTheLeft) + "[behavior]\ntray_icon = false\n");
  ASSERT_NE(vessa.bar, nullptr);
  // A theme change must not bring one in either.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(vessa.bar, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"), SMTO_ABORTIFHUNG,
                      5000, &ignored);
  EXPECT_FALSE(tray_cell_shows_icon(0xF0F0F0, 1500ms));
  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
}

// At 144 DPI the small-icon size is 24 x 24: longer, thicker-spaced bars (pad 2, gap 3).
TEST(Dpi144_TrayIcon, IsDrawnAtTheLargerSmallIconSize) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.remove();
  RunningVessa vessa(kBarsAtTheLeft);
  ASSERT_NE(vessa.bar, nullptr);
  const RECT corner{1180, 772, 1280, 800};  // the taskbar is 28 px high here
  const std::vector<int> rows = {18, 18, 12, 12, 7, 7, 15, 15};
  const bool shown = wait_until([&] { return color_rows(capture_screen(), corner, 0xF0F0F0) == rows; }, 10s);
  if (!shown) capture_screen().save_bmp(artefact_folder() / L"tray_icon_144.bmp");
  EXPECT_TRUE(shown) << ::testing::PrintToString(color_rows(capture_screen(), corner, 0xF0F0F0));
  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
}

// A shell restart loses every tray icon; the shell then broadcasts TaskbarCreated to top-level
// windows. In tray-only mode the bar window is message-only and hears no broadcast, yet the
// icon is the program's only way in: it must come back.
TEST(Shell_TrayIcon, TrayOnlyBringsTheIconBackAfterAShellRestart) {
  ASSERT_TRUE(tray_cell_free_of(0xF0F0F0));
  RunningVessa vessa("[behavior]\nattach_mode = \"tray_only\"\n");
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(describe_window(vessa.bar).message_only);
  ASSERT_TRUE(tray_cell_shows_icon(0xF0F0F0));

  // What the shell's restart does to the icon: it is gone.
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = vessa.bar;
  data.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  ASSERT_TRUE(tray_cell_free_of(0xF0F0F0));

  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(tray_cell_shows_icon(0xF0F0F0)) << "the icon did not come back";

  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
}

// A DPI change reaches a message-only bar window through the hidden top-level window as well,
// and the icon is drawn again (for the new size). The theme changed meanwhile shows that it was.
TEST(Shell_TrayIcon, TrayOnlyDrawsTheIconAgainOnADpiChange) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.set(DWORD{1});
  RunningVessa vessa("[behavior]\nattach_mode = \"tray_only\"\n");
  ASSERT_NE(vessa.bar, nullptr);
  ASSERT_TRUE(tray_cell_shows_icon(0x202020));
  const auto listener = wait_for_window(vessa.pid(), L"VessaBroadcastWindow");
  ASSERT_TRUE(listener.has_value());

  theme.set(DWORD{0});
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutW(*listener, WM_DPICHANGED, MAKEWPARAM(96, 96), 0, SMTO_ABORTIFHUNG, 5000, &ignored), 0);
  EXPECT_TRUE(tray_cell_shows_icon(0xF0F0F0)) << "the icon was not drawn again";
  EXPECT_EQ(vessa.close(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace vessa::test
