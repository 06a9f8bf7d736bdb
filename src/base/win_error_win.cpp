#include "base/win_error_win.hpp"

#include "base/system_error.hpp"
#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"

namespace vessa {
namespace {

void free_formatted(wchar_t* text) noexcept { LocalFree(text); }
// The text FormatMessageW allocated; freed however the reading of it ends.
using FormattedText = UniqueAny<wchar_t*, &free_formatted>;

DWORD format_from(HMODULE module, DWORD code, FormattedText& text) {
  constexpr DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK;
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(flags | (module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM), module,
                     code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  text.reset(buffer);
  return text ? length : 0;
}

// The texts of the internet error codes (12000 and up) live in the message tables of
// winhttp.dll and wininet.dll, which share those numbers; the modules are loaded as data only.
DWORD format_internet_error(DWORD code, FormattedText& text) {
  for (const wchar_t* name : {L"winhttp.dll", L"wininet.dll"}) {
    const UniqueHmodule module(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) continue;
    if (const DWORD length = format_from(module.get(), code, text); length != 0) return length;
  }
  return 0;
}

std::string message_text(DWORD code) {
  FormattedText formatted;
  DWORD length = format_from(nullptr, code, formatted);
  const DWORD win32_code = HRESULT_FACILITY(code) == FACILITY_WIN32 ? HRESULT_CODE(code) : code;
  if (length == 0 && win32_code >= 12000 && win32_code < 12200) length = format_internet_error(win32_code, formatted);
  return length != 0 ? narrow(std::wstring_view(formatted.get(), length)) : std::string();
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
