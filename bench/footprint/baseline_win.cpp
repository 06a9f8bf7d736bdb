// The smallest Windows program with a window: the yardstick for VESSA's footprint. One
// window class, one visible window, the message loop, and a timer that wakes it every 100 ms
// as VESSA's update tick does (and does nothing), so that the comparison is of the work done.
//
// With --read-counters each tick also makes the two readings every tick of VESSA's makes
// through the system (the processor counter's collection and the memory load), and nothing
// else: the second yardstick, which tells the platform's cost of those readings from the
// program's own work.
#include <windows.h>
#include <pdh.h>

#include <cwchar>

namespace {

PDH_HQUERY counter_query = nullptr;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_TIMER && counter_query != nullptr) {
    PdhCollectQueryData(counter_query);
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  if (command_line != nullptr && std::wcsstr(command_line, L"--read-counters") != nullptr) {
    PDH_HCOUNTER counter = nullptr;
    if (PdhOpenQueryW(nullptr, 0, &counter_query) != ERROR_SUCCESS ||
        PdhAddEnglishCounterW(counter_query, L"\\Processor(_Total)\\% Processor Time", 0, &counter) != ERROR_SUCCESS) {
      return 1;
    }
  }
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
  if (counter_query != nullptr) PdhCloseQuery(counter_query);
  return 0;
}
