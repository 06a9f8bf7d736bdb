#include "base/win_error_win.hpp"

#include "base/system_error.hpp"
#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"

namespace vessa {
namespace {

DWORD format_from(HMODULE module, DWORD code, wchar_t** buffer) {
  constexpr DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
  return FormatMessageW(flags | (module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM), module,
                        code, 0, reinterpret_cast<wchar_t*>(buffer), 0, nullptr);
}

// The texts of the internet error codes (12000 and up) live in the message tables of
// winhttp.dll and wininet.dll, which share those numbers; the modules are loaded as data only.
DWORD format_internet_error(DWORD code, wchar_t** buffer) {
  for (const wchar_t* name : {L"winhttp.dll", L"wininet.dll"}) {
    const UniqueHmodule module(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) continue;
    if (const DWORD length = format_from(module.get(), code, buffer); length != 0) return length;
  }
  return 0;
}

std::string message_text(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = format_from(nullptr, code, &buffer);
  const DWORD win32_code = HRESULT_FACILITY(code) == FACILITY_WIN32 ? HRESULT_CODE(code) : code;
  if (length == 0 && win32_code >= 12000 && win32_code < 12200) length = format_internet_error(win32_code, &buffer);
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
