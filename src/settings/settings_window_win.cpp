#include "settings/settings_window_win.hpp"

#include <array>

#include "settings/settings_dialog_win.hpp"

namespace vessa {

namespace {

// The settings window this thread already shows, if any. Only this thread's windows count:
// another VESSA process may have a settings window of its own.
HWND open_settings_window() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) -> BOOL {
        std::array<wchar_t, 64> name{};
        const int length = GetClassNameW(window, name.data(), static_cast<int>(name.size()));
        if (length > 0 && std::wstring_view(name.data(), static_cast<std::size_t>(length)) == SettingsDialog::kClassName) {
          *reinterpret_cast<HWND*>(context) = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

SettingsOutcome run_settings_window(const SettingsRequest& request) {
  if (HWND open = open_settings_window()) {
    // Two windows over one configuration would lose one of the edits: show the open one.
    if (IsIconic(open)) ShowWindow(open, SW_RESTORE);
    SetForegroundWindow(open);
    return {};
  }

  SettingsDialog dialog(request);
  if (!dialog.open()) return {};

  // The bar window's messages keep flowing through this loop. A WM_QUIT (Exit from the tray
  // menu, say) ends it: the window closes and the message is posted again for the main loop.
  MSG message{};
  while (dialog.has_window()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      dialog.destroy();
      PostQuitMessage(static_cast<int>(message.wParam));
      return {std::nullopt, true};
    }
    if (got < 0) {
      dialog.destroy();
      return {};
    }
    if (!IsDialogMessageW(dialog.hwnd(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return {dialog.take_result(), false};
}

}  // namespace vessa
