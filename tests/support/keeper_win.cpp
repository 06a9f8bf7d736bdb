// Holds a Wine test desktop open for a whole session so that explorer and its taskbar stay up
// between test programs. Prints "ready" once the desktop (and, with "taskbar", the taskbar)
// exists, then waits until it is killed.
#include <windows.h>

#include <cstring>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  GetDesktopWindow();
  const bool wait_for_taskbar = command_line != nullptr && wcsstr(command_line, L"taskbar") != nullptr;
  for (int attempt = 0; wait_for_taskbar && attempt < 300; ++attempt) {
    if (FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr) break;
    Sleep(50);
  }
  const char ready[] = "ready\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), ready, sizeof(ready) - 1, &written, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
