// The bar window hosted in the test process, in Wine's desktop with its taskbar: layout,
// drawing, the drawing surface and hovering, observed on the screen and in the window's state.
#include <gtest/gtest.h>

#include "app/bar_controller_win.hpp"
#include "bars_support.hpp"
#include "config/colors.hpp"
#include "config/theme_win.hpp"
#include "render/bar_drawing_win.hpp"
#include "render/bar_frame.hpp"
#include "render/taskbar_win.hpp"

namespace vessa::test {
namespace {

// Wine's taskbar strip (0,780)-(1280,800) with the default settings: band 32 reduced to the
// 14 rows a 20-pixel taskbar leaves, two-pixel lines, 80 × 20 pixels ending 8 before the end.
const Geometry kDefaultGeometry{2, 14, std::nullopt, 1};
const Placement kDefaultPlacement{1192, 783, 80, 20};

MetricSample busy_sample() {
  MetricSample sample;
  sample.bars = {{50, MetricKind::Cpu}, {25, MetricKind::Memory}, {0, MetricKind::Disk}, {0, MetricKind::Net}};
  sample.net_rx_percent = 25;
  sample.net_tx_percent = 80;
  sample.lamp_lit = true;
  return sample;
}

FrameModel default_frame(const AppState& state) {
  return build_frame(state.config, state.colors, state.last_sample.value(), kDefaultGeometry, 80, 20, 96, kNoIcon,
                     std::nullopt);
}

bool hovering(InProcessBar& bar) { return bar.state().hovering; }

// Whether this thread asked for a leave notification on `window` that is still pending.
bool tracking_leave(HWND window) {
  TRACKMOUSEEVENT query{sizeof(query), TME_QUERY, nullptr, 0};
  return TrackMouseEvent(&query) && (query.dwFlags & TME_LEAVE) != 0 && query.hwndTrack == window;
}

TEST(Shell_BarWindow, LaysOutInTheTaskbarAndDrawsTheFrameExactly) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  ASSERT_NE(bar.window(), nullptr);
  bar.state().last_sample = busy_sample();
  DebugCapture debug;
  attach(bar.state());

  EXPECT_EQ(bar.state().placement, kDefaultPlacement);
  EXPECT_EQ(bar.state().geometry, kDefaultGeometry);
  EXPECT_EQ(debug.lines(), std::vector<std::string>{
                               "relayout mode=Overlay vertical=false dpi=96 container=1280x20 geometry=Geometry { "
                               "thickness: 2, band: 14, icon_gap: None, line_inset: 1 } placement=Placement { x: 1192, "
                               "y: 783, width: 80, height: 20 }"});
  RECT rect{};
  GetWindowRect(bar.window(), &rect);
  EXPECT_EQ(rect.left, 1192);
  EXPECT_EQ(rect.top, 783);
  EXPECT_EQ(rect.right - rect.left, 80);
  EXPECT_EQ(rect.bottom - rect.top, 20);

  ScreenShot shot;
  const std::string differences = wait_for_screen(1192, 783, expected_pixels(default_frame(bar.state()), 80, 20), &shot);
  if (!differences.empty()) shot.save_bmp(artefact_folder() / L"bars-in-process.bmp");
  EXPECT_EQ(differences, "");

  // The same rows and colours, independently of the rasteriser: bars on rows 4, 7, 10, 13 of
  // the window (yt 3 + 1 + 3 × i), 64 pixels from x 8.
  const auto screen = [&](int x, int y) { return shot.at(1192 + x, 783 + y); };
  EXPECT_EQ(screen(8, 4), 0x47A8D8u);    // processor 50 %: x 8..40
  EXPECT_EQ(screen(39, 5), 0x47A8D8u);
  EXPECT_EQ(screen(40, 4), 0x0F0F0Fu);   // the track: #3A3A3A at 64 over alpha 1
  EXPECT_EQ(screen(23, 7), 0x3B5FB0u);   // memory 25 %: x 8..24
  EXPECT_EQ(screen(24, 7), 0x0F0F0Fu);
  EXPECT_EQ(screen(8, 13), 0x8F385Cu);   // network send 80 %: x 8..59
  EXPECT_EQ(screen(56, 13), 0xEFA6C6u);  // overlap: x 56..59
  EXPECT_EQ(screen(60, 13), 0xD6538Au);  // receive 25 %: x 56..72, over the track
  EXPECT_EQ(screen(3, 0), 0x000000u);    // background alpha 1 shows black
  EXPECT_EQ(screen(70, 11), 0x60A96Cu);  // the lit disk lamp: disc in 68..72 × 9..13
}

TEST(Shell_BarWindow, NothingIsDrawnBeforeTheFirstSample) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  attach(bar.state());
  EXPECT_EQ(bar.state().placement, kDefaultPlacement);  // laid out and stored all the same
  EXPECT_EQ(bar.state().surface.generation(), 0u);
  RECT rect{};
  GetWindowRect(bar.window(), &rect);
  EXPECT_EQ(rect.right - rect.left, 1);  // never pushed: still the 1 × 1 window of its creation
}

TEST(Shell_BarWindow, TrayOnlyDrawsNothing) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  bar.state().last_sample = busy_sample();
  bar.state().current_attach_mode = AttachMode::TrayOnly;
  DebugCapture debug;
  layout(bar.state());
  draw_and_push(bar.state());
  EXPECT_EQ(bar.state().surface.generation(), 0u);
  EXPECT_TRUE(debug.lines().empty());
}

TEST(Shell_BarWindow, ASecondLayoutWithNothingChangedDrawsNothing) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  bar.state().last_sample = busy_sample();
  attach(bar.state());

  // Paint something else into the window; a layout that draws would paint the bars over it.
  FrameModel white;
  white.background = rgb_hex(0xFFFFFF);
  white.background_alpha = 255;
  push_frame(bar.state().surface, bar.window(), kDefaultPlacement, white);
  DebugCapture debug;
  layout(bar.state());
  SendMessageW(bar.window(), WM_SETTINGCHANGE, 0, 0);
  attach(bar.state());
  EXPECT_TRUE(debug.lines().empty());
  EXPECT_EQ(wait_for_screen(1192, 783, expected_pixels(white, 80, 20)), "");

  // A change (here the offset) lays out and draws again.
  bar.state().config.layout.offset_x = 20;
  SendMessageW(bar.window(), WM_DISPLAYCHANGE, 0, 0);
  EXPECT_EQ(bar.state().placement, (Placement{1180, 783, 80, 20}));
  EXPECT_EQ(debug.lines().size(), 1u);
  EXPECT_EQ(wait_for_screen(1180, 783, expected_pixels(default_frame(bar.state()), 80, 20)), "");
}

// A sample that changed by less than a pixel gives the same frame, which the window already
// shows: it is neither painted nor pushed. Seen by painting the window white through another
// surface behind the bar's back: the same frame leaves the white, and so does a steady
// reattach check, until an attach to a new taskbar (after which the window may have lost its
// pixels) makes the next one push in full.
TEST(Shell_BarWindow, TheSameFrameAgainIsNotPushedUntilTheNextAttach) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  bar.state().last_sample = busy_sample();
  attach(bar.state());
  const FrameModel bars = default_frame(bar.state());
  ASSERT_EQ(wait_for_screen(1192, 783, expected_pixels(bars, 80, 20)), "");

  FrameModel white;
  white.background = rgb_hex(0xFFFFFF);
  white.background_alpha = 255;
  RenderSurface elsewhere;
  push_frame(elsewhere, bar.window(), kDefaultPlacement, white);
  ASSERT_EQ(wait_for_screen(1192, 783, expected_pixels(white, 80, 20)), "");

  bar.state().last_sample->bars[0].percent = 50.4;
  ASSERT_EQ(default_frame(bar.state()), bars);  // not a pixel of difference
  draw_and_push(bar.state());
  EXPECT_EQ(compare_on_screen(capture_screen(), 1192, 783, expected_pixels(white, 80, 20)), "");

  attach(bar.state());  // a steady taskbar: nothing is laid out or drawn, now or after
  draw_and_push(bar.state());
  EXPECT_EQ(compare_on_screen(capture_screen(), 1192, 783, expected_pixels(white, 80, 20)), "");

  bar.state().taskbar = nullptr;  // as after a shell restart: the taskbar found is a new one
  attach(bar.state());
  EXPECT_EQ(compare_on_screen(capture_screen(), 1192, 783, expected_pixels(white, 80, 20)), "");
  draw_and_push(bar.state());
  EXPECT_EQ(wait_for_screen(1192, 783, expected_pixels(bars, 80, 20)), "");
}

// Placement and geometry can come out the same at two DPIs (both capped by the taskbar); the
// lamps and the weather icon are drawn at the DPI, so a new DPI alone draws again.
TEST(Shell_BarWindow, ANewDpiAloneLaysOutAndDrawsAgain) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  bar.state().last_sample = busy_sample();
  attach(bar.state());
  bar.state().container_dpi = 144;  // the last layout was at another DPI with the same placement

  FrameModel white;
  white.background = rgb_hex(0xFFFFFF);
  white.background_alpha = 255;
  push_frame(bar.state().surface, bar.window(), kDefaultPlacement, white);
  DebugCapture debug;
  layout(bar.state());
  EXPECT_EQ(bar.state().container_dpi, 96u);
  EXPECT_EQ(debug.lines().size(), 1u);
  EXPECT_EQ(wait_for_screen(1192, 783, expected_pixels(default_frame(bar.state()), 80, 20)), "");
}

TEST(Shell_BarWindow, ASettingChangeResolvesTheColoursAgainAndRedraws) {
  const RegistryValueGuard theme(kPersonalizeKey, L"SystemUsesLightTheme");
  theme.set(DWORD{0});
  Config config;
  config.appearance.color_scheme = ColorScheme::Family;
  config.appearance.color_family = ColorFamily::Mono;  // the one family that follows the theme
  const Rgb dark_cpu = resolve_colors(config.appearance, true).cpu;
  const Rgb light_cpu = resolve_colors(config.appearance, false).cpu;
  ASSERT_NE(dark_cpu, light_cpu);
  const auto rgb = [](Rgb c) { return std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b; };

  InProcessBar bar(config, AttachMode::Overlay);
  bar.state().last_sample = busy_sample();
  attach(bar.state());
  // The display may show a pushed frame a moment after the push.
  const auto screen_shows = [](std::uint32_t colour) {
    return wait_until([&] { return capture_screen().at(1192 + 8, 783 + 4) == colour; }, 5s);
  };
  EXPECT_TRUE(screen_shows(rgb(dark_cpu)));

  theme.set(DWORD{1});
  SendMessageW(bar.window(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(bar.state().colors.cpu, light_cpu);
  EXPECT_TRUE(screen_shows(rgb(light_cpu)));
}

TEST(Shell_BarWindow, TheSurfaceIsKeptAndRemadeOnlyWhenTheSizeChanges) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  bar.state().last_sample = busy_sample();
  attach(bar.state());
  ASSERT_EQ(bar.state().surface.generation(), 1u);
  const HDC dc = bar.state().surface.dc();
  for (int i = 0; i < 20; ++i) {
    bar.state().last_sample->bars[0].percent = i * 5;
    draw_and_push(bar.state());
  }
  EXPECT_EQ(bar.state().surface.generation(), 1u);
  EXPECT_EQ(bar.state().surface.dc(), dc);

  bar.state().config.layout.line_length = 100;
  layout(bar.state());
  EXPECT_EQ(bar.state().surface.generation(), 2u);
  EXPECT_EQ(bar.state().surface.width(), 116);
}

// A placement without width or height still gets a picture: one pixel in each direction.
TEST(Shell_BarWindow, AnEmptyPlacementIsPushedAsOnePixel) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  FrameModel white;
  white.background = rgb_hex(0xFFFFFF);
  white.background_alpha = 255;
  push_frame(bar.state().surface, bar.window(), kDefaultPlacement, white);
  push_frame(bar.state().surface, bar.window(), Placement{1000, 700, 0, -3}, white);
  RECT rect{};
  GetWindowRect(bar.window(), &rect);
  EXPECT_EQ(rect.left, 1000);
  EXPECT_EQ(rect.top, 700);
  EXPECT_EQ(rect.right - rect.left, 1);
  EXPECT_EQ(rect.bottom - rect.top, 1);
  EXPECT_EQ(bar.state().surface.width(), 1);
  EXPECT_EQ(bar.state().surface.height(), 1);
  EXPECT_EQ(wait_for_screen(1000, 700, expected_pixels(white, 1, 1)), "");
}

// Every bitmap and DC a size change replaces is deleted: each old handle is asked whether it
// still names an object. A deleted handle's value comes back for a later object once its reuse
// count wraps (Wine 10, as Windows), so the current surface's values are not asked.
TEST(Shell_BarWindow, ReplacedSurfacesAreDeleted) {
  std::vector<std::pair<HDC, HBITMAP>> replaced;
  {
    InProcessBar bar(Config{}, AttachMode::Overlay);
    bar.state().last_sample = busy_sample();
    attach(bar.state());
    for (int i = 0; i < 200; ++i) {
      replaced.emplace_back(bar.state().surface.dc(), bar.state().surface.bitmap());
      bar.state().config.layout.line_length = 60 + i % 7;  // a new size, so a new DIB, every time
      layout(bar.state());
    }
    EXPECT_EQ(bar.state().surface.generation(), 201u);
    const HDC current_dc = bar.state().surface.dc();
    const HBITMAP current_bitmap = bar.state().surface.bitmap();
    for (const auto& [dc, bitmap] : replaced) {
      if (dc != current_dc) {
        ASSERT_EQ(GetObjectType(dc), 0u) << dc;
      }
      if (bitmap != current_bitmap) {
        ASSERT_EQ(GetObjectType(bitmap), 0u) << bitmap;
      }
    }
    replaced.emplace_back(current_dc, current_bitmap);
    EXPECT_EQ(GetObjectType(replaced.back().first), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetObjectType(replaced.back().second), static_cast<DWORD>(OBJ_BITMAP));
  }
  // The last one goes with the state.
  EXPECT_EQ(GetObjectType(replaced.back().first), 0u);
  EXPECT_EQ(GetObjectType(replaced.back().second), 0u);
}

TEST(Shell_BarWindow, HoveringTracksTheLeaveOnceAndResetsOnLeaving) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  bar.state().last_sample = busy_sample();
  attach(bar.state());
  move_pointer(640, 300);
  pump_for(300ms);
  // A move handled once the pointer has gone (a busy thread) arms no leave notification, so it
  // must begin no hover: that one would never end.
  SendMessageW(bar.window(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_FALSE(hovering(bar));

  // The real pointer onto the bars (alpha 1 at least everywhere, so they take it): hovering,
  // with a leave notification asked for. Wine may take the pointer back for a moment (a move the
  // taskbar beneath heard late), which ends that hover at once; the pointer moves again, a pixel
  // to and fro, until the bars keep it.
  const auto hover_at = [&](int x, int y) {
    int moves = 0;
    return wait_until(
        [&] {
          if (hovering(bar) && tracking_leave(bar.window())) return true;
          move_pointer(x + moves++ % 2, y);
          return false;
        },
        5s);
  };
  ASSERT_TRUE(hover_at(1232, 790)) << "the bars never hovered with a leave notification asked for";

  // While hovering, further moves ask for no new leave notification.
  TRACKMOUSEEVENT cancel{sizeof(cancel), TME_LEAVE | TME_CANCEL, bar.window(), 0};
  TrackMouseEvent(&cancel);
  for (int i = 0; i < 5; ++i) SendMessageW(bar.window(), WM_MOUSEMOVE, 0, MAKELPARAM(10 + i, 10));
  EXPECT_FALSE(tracking_leave(bar.window()));
  EXPECT_TRUE(hovering(bar));

  // Leaving resets the hover state; the next move asks again, and the pointer leaving for
  // real brings WM_MOUSELEAVE.
  SendMessageW(bar.window(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(hovering(bar));
  ASSERT_TRUE(hover_at(1240, 791));
  move_pointer(640, 300);
  EXPECT_TRUE(wait_until([&] { return !hovering(bar); }, 3s)) << "no WM_MOUSELEAVE after the pointer left";
}

TEST(Shell_BarWindow, HoverResetClearsTheTrayOverrides) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  AppState& state = bar.state();
  state.last_sample = busy_sample();
  attach(state);  // placed and drawn, so that the pointer can be over the bars below
  state.hovering = true;
  state.tooltip_anchor = Placement{1, 2, 0, 0};
  state.tooltip_dpi = 144;
  state.tooltip_orientation = TooltipOrientation::Vertical;
  SendMessageW(bar.window(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(state.hovering);
  EXPECT_FALSE(state.tooltip_anchor.has_value());
  EXPECT_FALSE(state.tooltip_dpi.has_value());
  EXPECT_EQ(state.tooltip_orientation, TooltipOrientation::FollowTaskbar);

  // A move with the pointer over the bars sets hovering with the overrides reset.
  state.tooltip_dpi = 120;
  RECT bars{};
  GetWindowRect(bar.window(), &bars);
  move_pointer((bars.left + bars.right) / 2, (bars.top + bars.bottom) / 2);
  EXPECT_TRUE(wait_until([&] {
    SendMessageW(bar.window(), WM_MOUSEMOVE, 0, 0);
    return state.hovering;
  }));
  EXPECT_FALSE(state.tooltip_dpi.has_value());
}

// A child window that goes without being asked (with the taskbar, when the shell restarts) is
// replaced. A shell still running would keep the old window's icon beside the one the new
// window adds: it is taken away first.
TEST(Shell_BarWindow, AReplacedChildWindowTakesTheOldTrayIconAway) {
  InProcessBar bar(Config{}, AttachMode::Child);
  const HWND old_window = bar.window();
  ASSERT_NE(old_window, nullptr);
  AppState& state = bar.state();
  state.tray = TrayIcon{old_window, std::nullopt, false};
  ASSERT_TRUE(add_tray_icon(*state.tray, "VESSA").ok());
  NOTIFYICONDATAW old_icon{};
  old_icon.cbSize = sizeof(old_icon);
  old_icon.hWnd = old_window;
  old_icon.uID = kTrayIconId;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &old_icon));  // the shell knows it (nothing is changed)

  DestroyWindow(old_window);
  ASSERT_NE(bar.window(), nullptr);
  EXPECT_NE(bar.window(), old_window);
  EXPECT_EQ(state.tray->owner, bar.window());
  const bool left_behind = Shell_NotifyIconW(NIM_MODIFY, &old_icon);
  Shell_NotifyIconW(NIM_DELETE, &old_icon);
  EXPECT_FALSE(left_behind) << "the old window's icon is still in the notification area";
  remove_tray_icon(*state.tray);
}

TEST(Shell_BarWindow, UnknownTimersAndTrayEventsChangeNothing) {
  InProcessBar bar(Config{}, AttachMode::Overlay);
  bar.state().last_sample = busy_sample();
  attach(bar.state());
  EXPECT_EQ(SendMessageW(bar.window(), WM_TIMER, 77, 0), 0);
  EXPECT_EQ(SendMessageW(bar.window(), WM_APP + 1, 0, MAKELPARAM(0x0200, 0)), 0);
  EXPECT_FALSE(bar.state().hovering);
  // An update tick would have replaced the sample with this process's own figures.
  EXPECT_EQ(bar.state().last_sample, busy_sample());
  EXPECT_EQ(SendMessageW(bar.window(), WM_ERASEBKGND, 0, 0), 1);
}

}  // namespace
}  // namespace vessa::test
