#include "app/application_win.hpp"

#include <windows.h>

#include <memory>
#include <string>

#include "app/app_state_win.hpp"
#include "app/bar_window_win.hpp"
#include "app/command_line.hpp"
#include "app/message_box_win.hpp"
#include "app/startup_rules.hpp"
#include "app/tray_icon_win.hpp"
#include "base/debug_console_win.hpp"
#include "base/debug_output.hpp"
#include "base/path_text.hpp"
#include "base/unique_handle_win.hpp"
#include "base/win_error_win.hpp"
#include "base/wide_win.hpp"
#include "config/colors.hpp"
#include "config/config_location_win.hpp"
#include "config/theme_win.hpp"
#include "metrics/metrics_win.hpp"
#include "render/taskbar_win.hpp"
#include "weather/weather_win.hpp"

namespace vessa {
namespace {

// Lets popup menus follow a dark system theme: uxtheme's export 135 sets the process's
// preferred app mode (1 = allow dark). Missing on older systems and on Wine; then nothing.
void allow_dark_menus() {
  static UniqueHmodule uxtheme(LoadLibraryW(L"uxtheme.dll"));
  if (!uxtheme) return;
  using SetPreferredAppMode = int(WINAPI*)(int);
  const FARPROC export_135 = GetProcAddress(uxtheme.get(), MAKEINTRESOURCEA(135));
  if (export_135 == nullptr) return;
  reinterpret_cast<SetPreferredAppMode>(reinterpret_cast<void*>(export_135))(1);
}

void read_command_line() {
  const wchar_t* line = GetCommandLineW();
  const std::wstring_view view = line != nullptr ? std::wstring_view(line) : std::wstring_view();
  if (has_debug_switch(split_command_line(std::u16string(view.begin(), view.end())))) debug::enable();
}

struct WindowStyles {
  DWORD ex_style = 0;
  DWORD style = 0;
  HWND parent = nullptr;
};

WindowStyles styles_for(AttachMode mode, HWND taskbar) {
  switch (mode) {
    case AttachMode::Child:
      return {WS_EX_LAYERED, WS_CHILD | WS_VISIBLE, taskbar};
    case AttachMode::Overlay:
      return {WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, nullptr};
    case AttachMode::TrayOnly:
      break;
  }
  return {WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, WS_POPUP, HWND_MESSAGE};
}

// Start-up step 16: the first attachment mode that gives a window.
HWND create_bar_window(AppState& state, HINSTANCE instance) {
  for (const AttachMode mode : attachment_order(state.config.behavior.attach_mode, state.config.behavior.fallback)) {
    if (mode != AttachMode::TrayOnly && state.taskbar == nullptr) continue;
    state.current_attach_mode = mode;
    const WindowStyles styles = styles_for(mode, state.taskbar);
    HWND window = CreateWindowExW(styles.ex_style, kBarWindowClass, L"VESSA", styles.style, 0, 0, 1, 1,
                                  styles.parent, nullptr, instance, &state);
    if (window != nullptr) return window;
  }
  return nullptr;
}

void add_startup_tray_icon(AppState& state, HWND window) {
  state.tray = TrayIcon{window, state.config.appearance.tray_icon_color, false};
  if (!add_tray_icon(*state.tray, (*state.texts)[text::kProductName]).ok()) {
    // No message: the program runs without a tray icon.
    remove_tray_icon(*state.tray);
    state.tray.reset();
  }
}

int fail(const Error& error) {
  report_fatal(error);
  return 1;
}

}  // namespace

int run_application() {
  // 1-3. Command line, console, DPI awareness.
  read_command_line();
  if (debug::enabled()) debug::attach_parent_console();
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  // Wine keeps the work area a process reads first; when uxtheme.dll's start-up reads it, it
  // stays at 96-DPI scale on a high-DPI display and the taskbar band comes out wrong. Reading
  // it once before costs nothing anywhere.
  RECT work_area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0);
  allow_dark_menus();

  // 4. Configuration.
  Result<StartupConfig> loaded = load_startup_config();
  if (!loaded) return fail(loaded.error());
  if (!loaded->path.empty()) debug::line("config: " + path_to_utf8(loaded->path));

  // 5-6. Module handle and window class.
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (instance == nullptr) return fail(last_error("モジュールハンドルを取得できません"));
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = bar_window_proc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = kBarWindowClass;
  if (RegisterClassW(&window_class) == 0) return fail(last_error("ウィンドウクラスを登録できません"));

  // 7-14. Timer periods, sampler, language, weather channel, colours, drives, state.
  auto state = std::make_unique<AppState>();
  state->config = std::move(loaded->config);
  state->config_path = std::move(loaded->path);
  state->timers = timer_periods(state->config);
  state->sampler = make_counter_sampler(state->config);
  state->language = resolve_ui_language(state->config.general.language, GetUserDefaultUILanguage());
  state->texts = &ui_texts(state->language);
  state->colors = resolve_colors(state->config.appearance, taskbar_is_dark());
  state->drive_letters = physical_disk_drive_letters();

  // 15. Taskbar and the shell-restart message.
  state->taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  state->taskbar_created_message = RegisterWindowMessageW(L"TaskbarCreated");

  // 16. Bar window.
  HWND window = create_bar_window(*state, instance);
  if (window == nullptr) return fail(Error("タスクバーへの表示に失敗しました"));
  AppState& app = *state;
  app.owned_by_window = true;
  (void)state.release();  // the window owns it now and releases it on WM_DESTROY

  // 17. Timers, fallback warning, tray icon, layout, first samples, first weather fetch.
  if (app.current_attach_mode != AttachMode::TrayOnly) ShowWindow(window, SW_SHOWNA);
  SetTimer(window, kUpdateTimer, app.timers.update_ms, nullptr);
  if (app.timers.reattach_ms != 0) SetTimer(window, kReattachTimer, app.timers.reattach_ms, nullptr);
  if (app.timers.weather_ms != 0) SetTimer(window, kWeatherTimer, app.timers.weather_ms, nullptr);
  if (app.current_attach_mode == AttachMode::TrayOnly) {
    app.visible = false;
    if (app.config.behavior.attach_mode != AttachMode::TrayOnly) {
      show_message((*app.texts)[text::kMessageTitle], (*app.texts)[text::kAttachFailed]);
    }
  }
  if (app.config.behavior.tray_icon) add_startup_tray_icon(app, window);
  attach(app, window);
  sample(app, window);
  sample(app, window);
  start_weather_fetch(app);

  // 18. Message loop.
  MSG message{};
  while (true) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) break;
    if (got == -1) {
      const Error error = last_error("メッセージの取得に失敗しました");
      destroy_bar_window(window);
      return fail(error);
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  destroy_bar_window(window);  // already gone; failures are ignored
  return 0;
}

}  // namespace vessa
