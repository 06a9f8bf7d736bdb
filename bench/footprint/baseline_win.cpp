// The smallest Windows program with a window: the yardstick for VESSA's footprint. One
// window class, one visible window, the message loop, and a timer that wakes it every 100 ms
// as VESSA's update tick does (and does nothing), so that the comparison is of the work done.
#include <windows.h>

namespace {

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"VessaFootprintBaseline";
  if (RegisterClassW(&window_class) == 0) return 1;
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"VessaFootprintBaseline", L"baseline", WS_POPUP | WS_VISIBLE, 0, 0,
                                80, 20, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  SetTimer(window, 1, 100, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
