#pragma once
// Windows errors as causes. Capture GetLastError right after the failing call: any later
// Win32 call may overwrite it.

#include <windows.h>

#include <string>

#include "base/error.hpp"

namespace vessa {

// The cause for a Win32 error code (as from GetLastError): the system's text for it and its
// HRESULT. WinHTTP codes take their text from winhttp.dll.
[[nodiscard]] Error win32_error(DWORD code);
// The same for an HRESULT.
[[nodiscard]] Error hresult_error(HRESULT hr);

// `message` caused by the calling thread's last Win32 error, read at once.
[[nodiscard]] Error last_error(std::string message);

}  // namespace vessa
