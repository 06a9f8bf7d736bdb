#include "base/debug_console_win.hpp"

#include <windows.h>

#include <string>

#include "base/debug_output.hpp"
#include "base/wide_win.hpp"

namespace vessa::debug {
namespace {

HANDLE g_output = nullptr;

void write_line(std::string_view text) {
  if (g_output == nullptr || g_output == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  if (GetConsoleMode(g_output, &mode)) {
    std::wstring wide = widen(text);
    wide += L"\r\n";
    DWORD written = 0;
    WriteConsoleW(g_output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    return;
  }
  std::string bytes(text);
  bytes += '\n';
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(g_output, data, static_cast<DWORD>(left), &written, nullptr) || written == 0) return;
    data += written;
    left -= written;
  }
}

}  // namespace

void attach_parent_console() {
  AttachConsole(ATTACH_PARENT_PROCESS);
  g_output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (g_output == nullptr || g_output == INVALID_HANDLE_VALUE) {
    // A GUI process started from a console without redirection has no standard handles even
    // after attaching; the console's output buffer is still reachable by name. The handle is
    // kept for the life of the process.
    g_output = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
  }
  set_sink(&write_line);
}

}  // namespace vessa::debug
