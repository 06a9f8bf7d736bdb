#include "base/win_error_win.hpp"

#include "base/system_error.hpp"
#include "base/wide_win.hpp"

namespace vessa {
namespace {

std::string message_text(DWORD code) {
  wchar_t* buffer = nullptr;
  constexpr DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
  DWORD length = FormatMessageW(flags | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 0,
                                reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  // WinHTTP keeps the texts of its own codes (12000 and up) in its module.
  const DWORD win32_code = HRESULT_FACILITY(code) == FACILITY_WIN32 ? HRESULT_CODE(code) : code;
  if (length == 0 && win32_code >= 12000 && win32_code < 12200) {
    if (HMODULE winhttp = GetModuleHandleW(L"winhttp.dll")) {
      length = FormatMessageW(flags | FORMAT_MESSAGE_FROM_HMODULE, winhttp, win32_code, 0,
                              reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    }
  }
  std::string text;
  if (length != 0 && buffer != nullptr) text = narrow(std::wstring_view(buffer, length));
  if (buffer != nullptr) LocalFree(buffer);
  return text;
}

}  // namespace

Error win32_error(DWORD code) {
  const auto hr = hresult_from_win32(code);
  std::string text = message_text(code);
  if (text.empty() && hr != code) text = message_text(hr);
  return system_error(text, hr);
}

Error hresult_error(HRESULT hr) {
  const auto code = static_cast<std::uint32_t>(hr);
  return system_error(message_text(code), code);
}

Error last_error(std::string message) {
  const DWORD code = GetLastError();
  return Error(std::move(message), win32_error(code));
}

}  // namespace vessa
