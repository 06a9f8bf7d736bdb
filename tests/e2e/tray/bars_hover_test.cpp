// Hovering and right-clicking the bars themselves (the overlay window over Wine's taskbar).
#include <gtest/gtest.h>

#include <algorithm>

#include "settings/ui_text.hpp"
#include "tray_support.hpp"

namespace vessa::test {
namespace {

int text_width(const std::wstring& text) {
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, L"Segoe UI");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, font);
  RECT rect{};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(font);
  return rect.right - rect.left;
}

// Memory and network only (rows Memory, Receive, Send), and an opaque background so that
// every pixel of the bar window takes the pointer (fully transparent pixels let it through).
constexpr char kConfig[] =
    "[general]\nlanguage = \"en\"\n[metrics]\nitems = [\"memory\", \"net\"]\n[appearance]\nbackground_alpha = 255\n";

struct Bars {
  VessaFolder folder;
  std::unique_ptr<VessaProcess> process;
  HWND bar = nullptr;
  RECT rect{};

  Bars() {
    folder.write_config(kConfig);
    process = std::make_unique<VessaProcess>(folder.exe(), L"");
    if (const auto window = wait_for_bar_window(process->pid())) bar = *window;
    wait_until([&] { return GetWindowRect(bar, &rect) && rect.right - rect.left > 1; }, 5s);
  }
  ~Bars() {
    if (bar != nullptr) PostMessageW(bar, WM_CLOSE, 0, 0);
    process->wait();
  }
  [[nodiscard]] bool laid_out() const { return rect.right - rect.left > 1 && rect.bottom - rect.top > 1; }
  [[nodiscard]] POINT centre() const { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }
  [[nodiscard]] std::optional<HWND> tooltip(std::chrono::milliseconds timeout = 5s) const {
    std::optional<HWND> found;
    wait_until(
        [&] {
          const auto windows = visible_windows(process->pid(), L"VessaTooltipWindow");
          if (!windows.empty()) found = windows.front();
          return found.has_value();
        },
        timeout);
    return found;
  }
};

TEST(Shell_BarsHover, PointerOnTheBarsShowsTheTooltipAboveTheTaskbarAndLeavingHidesIt) {
  Bars bars;
  ASSERT_NE(bars.bar, nullptr);
  if (!bars.laid_out()) GTEST_SKIP() << "the bars are not laid out in this build (taskbar placement missing)";
  move_pointer(640, 300);
  move_pointer(bars.centre().x, bars.centre().y);
  const auto tooltip = bars.tooltip();
  ASSERT_TRUE(tooltip.has_value()) << "no tooltip over the bars";

  const int width = 8 + 24 + 14 + 2 * 12 + std::max({text_width(L"Memory"), text_width(L"Receive"), text_width(L"Send")}) +
                    std::max(text_width(L"100%"), text_width(L"999 GB/s"));
  const int height = 19 * 3 + 2 * 9;
  const RECT rect = describe_window(*tooltip).rect;
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);
  const int bar_width = bars.rect.right - bars.rect.left;
  EXPECT_EQ(rect.left, std::clamp<long>(bars.rect.left + (bar_width - width) / 2, 0, 1280 - width));
  EXPECT_EQ(rect.bottom, bars.rect.top - 6);
  EXPECT_LE(rect.bottom, 780) << "the tooltip covers the taskbar";

  move_pointer(640, 300);
  EXPECT_TRUE(wait_until([&] { return find_windows(bars.process->pid(), L"VessaTooltipWindow").empty(); }, 5s))
      << "the tooltip stayed after the pointer left";
}

TEST(Shell_BarsHover, ARightClickOnTheBarsOpensTheMenuAndExitEndsTheProgram) {
  Bars bars;
  ASSERT_NE(bars.bar, nullptr);
  if (!bars.laid_out()) GTEST_SKIP() << "the bars are not laid out in this build (taskbar placement missing)";
  const POINT at = bars.centre();
  const TextTable& texts = ui_texts(UiLanguage::English);
  const MenuPicture expected =
      reference_menu({std::string(texts[text::kMenuShow]), std::string(texts[text::kMenuSettings]),
                      std::string(texts[text::kMenuReattach]), std::string(texts[text::kMenuExit])},
                     true, at);
  ASSERT_EQ(expected.items.size(), 5u);

  std::optional<HWND> menu;
  for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
    click(at.x, at.y, true);
    menu = wait_for_menu(bars.process->pid(), 2s);
  }
  ASSERT_TRUE(menu.has_value()) << "no menu after a right click on the bars";
  EXPECT_TRUE(find_windows(bars.process->pid(), L"VessaTooltipWindow").empty()) << "the menu keeps the tooltip";
  EXPECT_EQ(differing_pixels(rested_picture_of(*menu), expected), 0u);
  const POINT exit = expected.item_centre(4);
  click(exit.x, exit.y);
  EXPECT_EQ(bars.process->wait(), std::optional<DWORD>(0));
  bars.bar = nullptr;
}

}  // namespace
}  // namespace vessa::test
