#include "app/message_box_win.hpp"

#include <windows.h>

#include <string>

#include "base/wide_win.hpp"

namespace vessa {
namespace {

void write_standard_error(std::string_view text) {
  HANDLE output = GetStdHandle(STD_ERROR_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  DWORD mode = 0;
  if (GetConsoleMode(output, &mode)) {
    const std::wstring wide = widen(text) + L"\r\n";
    WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    const std::string bytes = std::string(text) + "\n";
    WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}

}  // namespace

void show_message(std::string_view title, std::string_view text) {
  MessageBoxW(nullptr, widen(text).c_str(), widen(title).c_str(), MB_ICONWARNING);
}

void report_fatal(const Error& error) {
  write_standard_error("Error: " + error.debug_form());
  show_message("VESSA", error.full_text());
}

}  // namespace vessa
