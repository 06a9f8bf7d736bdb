#include "app/application_win.hpp"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "app/app_state_win.hpp"
#include "app/bar_controller_win.hpp"
#include "app/bar_window_win.hpp"
#include "app/broadcast_listener_win.hpp"
#include "app/command_line.hpp"
#include "app/message_box_win.hpp"
#include "app/mirror_events_win.hpp"
#include "app/startup_rules.hpp"
#include "app/tray_icon_win.hpp"
#include "base/debug_console_win.hpp"
#include "base/debug_output.hpp"
#include "base/path_text.hpp"
#include "base/unique_handle_win.hpp"
#include "base/win_error_win.hpp"
#include "base/wide_win.hpp"
#include "config/config_location_win.hpp"
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

// The bar window in the first attachment mode that gives one.
bool create_first_bar_window(AppState& state) {
  state.bar = std::make_unique<BarWindow>(state);
  for (const AttachMode mode : attachment_order(state.config.behavior.attach_mode, state.config.behavior.fallback)) {
    if (mode != AttachMode::TrayOnly && state.taskbar == nullptr) continue;
    state.current_attach_mode = mode;
    if (state.bar->create_for(mode, state.taskbar)) return true;
  }
  return false;
}

// The notice that the configuration file was replaced with the defaults, in the user's language.
TrayNotice reset_notice(const TextTable& texts, const ConfigReset& reset) {
  const std::string error = reset.error ? *reset.error : std::string(texts.text(TextId::ConfigResetNotText));
  const std::string lead = std::string(texts.text(TextId::ConfigResetError)) + error;
  const std::string tail = std::string(texts.text(TextId::ConfigResetKept)) + path_to_utf8(reset.kept_copy);
  return TrayNotice{balloon_title(texts.text(TextId::ConfigResetTitle)), balloon_text(lead, tail)};
}

// A shell busy at sign-in may refuse the icon: no message, and the record stays to be added
// at a later reattach check or shell restart. A reset is told once the icon is there.
void add_startup_tray_icon(AppState& state, const std::optional<ConfigReset>& reset) {
  state.tray = TrayIcon{state.bar_window(), state.config.appearance.tray_icon_color, false};
  if (reset) state.tray->notice = reset_notice(state.texts(), *reset);
  const Status ignored = add_tray_icon(*state.tray, state.texts().text(TextId::ProductName));
  (void)ignored;
}

// The bar window's WM_DESTROY posts WM_QUIT; a fatal report's message box after it would
// close at once on seeing it.
void discard_quit_message() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

int fail(const Error& error) {
  report_fatal(error);
  return 1;
}

// Releases the running state in a fixed order: the bar window first (its own WM_DESTROY work
// included, if it is still there), the tray icon and the tooltip, so that nothing they do on
// the way out finds a part already gone; then the other windows, the mirrors, the counter
// query and the drawing surfaces; the weather channel last, so that fetches still running
// end unheard.
void tear_down(std::unique_ptr<AppState> state) {
  if (!state) return;
  destroy_bar_window(*state);
  end_program(*state);  // its WM_QUIT is discarded below
  state->broadcast_listener.reset();
  state->bar.reset();
  state->mirrors.clear();
  state->sampler = CounterSampler{};
  state->surface.reset();
  state.reset();
  discard_quit_message();
}

}  // namespace

int run_application() {
  // Command line, console, DPI awareness.
  read_command_line();
  if (debug::enabled()) debug::attach_parent_console();
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  // Wine keeps the work area a process reads first; read before the awareness holds (as
  // uxtheme.dll's start-up does when it is loaded with the process), it stays at 96-DPI scale
  // on a high-DPI display and the taskbar band comes out wrong. Reading it once here, aware,
  // costs nothing anywhere.
  RECT work_area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_area, 0);
  allow_dark_menus();

  // Configuration.
  Result<StartupConfig> loaded = load_startup_config();
  if (!loaded) return fail(loaded.error());
  if (!loaded->path.empty()) debug::line("config: " + path_to_utf8(loaded->path));

  // Module handle and window class.
  if (GetModuleHandleW(nullptr) == nullptr) return fail(last_error("モジュールハンドルを取得できません"));
  if (!BarWindow::register_class()) return fail(last_error("ウィンドウクラスを登録できません"));

  // Timer periods, sampler, language, weather channel, colours, drives, state.
  auto state = std::make_unique<AppState>();
  state->config = std::move(loaded->config);
  state->config_path = std::move(loaded->path);
  state->config_unread = loaded->unread;
  state->sampler = make_counter_sampler();
  take_in_config(*state);
  state->drive_letters = physical_disk_drive_letters();

  // Taskbar and the shell-restart message.
  state->taskbar = find_taskbar();
  state->taskbar_created_message = RegisterWindowMessageW(L"TaskbarCreated");

  // Bar window.
  AppState& app = *state;
  if (!create_first_bar_window(app)) {
    tear_down(std::move(state));
    return fail(Error("タスクバーへの表示に失敗しました"));
  }

  // Timers, fallback warning, tray icon, layout, first samples, first weather fetch.
  if (app.current_attach_mode != AttachMode::TrayOnly) ShowWindow(app.bar_window(), SW_SHOWNA);
  set_bar_timers(app.bar_window(), app.timers, app.config);
  if (app.current_attach_mode != AttachMode::Overlay) app.broadcast_listener = std::make_unique<BroadcastListener>(app);
  if (app.current_attach_mode == AttachMode::TrayOnly) {
    app.visible = false;
    if (app.config.behavior.attach_mode != AttachMode::TrayOnly) {
      // The box runs a loop of its own in which the timers already tick and the bar window
      // may be closed; what follows goes on only while there is a bar window.
      show_message(app.texts().text(TextId::MessageTitle), app.texts().text(TextId::AttachFailed));
    }
  }
  if (app.bar_window() != nullptr) {
    if (app.config.behavior.tray_icon) add_startup_tray_icon(app, loaded->reset);
    app.mirrors.set_events(make_mirror_events(app));
    attach(app);
    take_sample(app);
    take_sample(app);
    start_weather_fetch(app);
  }

  // Message loop, until WM_QUIT (posted when the bar window goes) or a failure.
  const int status = run_message_loop(app, &GetMessageW);
  tear_down(std::move(state));
  return status;
}

int run_message_loop(AppState& state, GetMessageFunction get_message) {
  // The window closed while start-up was still under way has posted WM_QUIT already.
  MSG message{};
  while (true) {
    const BOOL got = get_message(&message, nullptr, 0, 0);
    if (got == 0) return 0;
    if (got == -1) {
      const Error error = last_error("メッセージの取得に失敗しました");
      // Asked to end: no replacement window, the tray icon removed with the bar window.
      destroy_bar_window(state);
      discard_quit_message();
      return fail(error);
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vessa
