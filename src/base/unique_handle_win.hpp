#pragma once
// One move-only owner for every kind of Windows handle, in the spirit of WIL's unique_any:
// get / reset / release / put. Nothing is released by hand in a function body; a handle is
// closed exactly once, by its owner. The kind of handle is the close function and the value
// that means "no handle" (null for most, INVALID_HANDLE_VALUE for files). Closing keeps the
// thread's last error, so that an owner going out of scope cannot hide why a call failed.

#include <windows.h>
#include <objbase.h>
#include <unknwn.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace vessa {

template <typename Handle, auto Close, std::intptr_t InvalidBits = 0>
class UniqueAny {
 public:
  // The value that means "no handle".
  [[nodiscard]] static Handle invalid() noexcept {
    if constexpr (std::is_pointer_v<Handle>) {
      return reinterpret_cast<Handle>(InvalidBits);
    } else {
      return static_cast<Handle>(InvalidBits);
    }
  }

  UniqueAny() noexcept = default;
  explicit UniqueAny(Handle handle) noexcept : handle_(handle) {}
  ~UniqueAny() { reset(); }

  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;
  UniqueAny(UniqueAny&& other) noexcept : handle_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  [[nodiscard]] Handle get() const noexcept { return handle_; }
  [[nodiscard]] bool valid() const noexcept { return handle_ != invalid(); }
  explicit operator bool() const noexcept { return valid(); }
  // Member access for interface pointers.
  Handle operator->() const noexcept
    requires std::is_pointer_v<Handle> && std::is_class_v<std::remove_pointer_t<Handle>>
  {
    return handle_;
  }

  // Closes the held handle (if any) and takes `handle`.
  void reset(Handle handle = invalid()) noexcept {
    if (handle_ != invalid()) {
      const DWORD error = GetLastError();
      Close(handle_);
      SetLastError(error);
    }
    handle_ = handle;
  }
  // Gives the handle up without closing it.
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, invalid()); }
  // Closes the held handle and returns the address to receive a new one (out parameters).
  [[nodiscard]] Handle* put() noexcept {
    reset();
    return &handle_;
  }
  // The same, for the void** parameters of QueryInterface and CoCreateInstance.
  [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

 private:
  Handle handle_ = invalid();
};

namespace handle_close {
inline void window(HWND h) noexcept { DestroyWindow(h); }
inline void bitmap(HBITMAP h) noexcept { DeleteObject(h); }
inline void font(HFONT h) noexcept { DeleteObject(h); }
inline void brush(HBRUSH h) noexcept { DeleteObject(h); }
inline void memory_dc(HDC h) noexcept { DeleteDC(h); }
inline void icon(HICON h) noexcept { DestroyIcon(h); }
inline void menu(HMENU h) noexcept { DestroyMenu(h); }
inline void kernel_handle(HANDLE h) noexcept { CloseHandle(h); }
inline void registry_key(HKEY h) noexcept { RegCloseKey(h); }
inline void module(HMODULE h) noexcept { FreeLibrary(h); }
inline void local_memory(HLOCAL h) noexcept { LocalFree(h); }
inline void co_task_string(wchar_t* h) noexcept { CoTaskMemFree(h); }
inline void win_event_hook(HWINEVENTHOOK h) noexcept { UnhookWinEvent(h); }
template <typename Interface>
void com_interface(Interface* p) noexcept {
  p->Release();
}
}  // namespace handle_close

using UniqueHwnd = UniqueAny<HWND, &handle_close::window>;
using UniqueHbitmap = UniqueAny<HBITMAP, &handle_close::bitmap>;
using UniqueHfont = UniqueAny<HFONT, &handle_close::font>;
using UniqueHbrush = UniqueAny<HBRUSH, &handle_close::brush>;
using UniqueMemoryDc = UniqueAny<HDC, &handle_close::memory_dc>;
using UniqueHicon = UniqueAny<HICON, &handle_close::icon>;
using UniqueHmenu = UniqueAny<HMENU, &handle_close::menu>;
using UniqueHandle = UniqueAny<HANDLE, &handle_close::kernel_handle>;
using UniqueHkey = UniqueAny<HKEY, &handle_close::registry_key>;
using UniqueHmodule = UniqueAny<HMODULE, &handle_close::module>;
// A string the shell allocated for the caller (SHGetKnownFolderPath and the like).
using UniqueCoTaskString = UniqueAny<wchar_t*, &handle_close::co_task_string>;
// A WinEvent hook, unhooked by its owner.
using UniqueWinEventHook = UniqueAny<HWINEVENTHOOK, &handle_close::win_event_hook>;
// CreateFile reports failure as INVALID_HANDLE_VALUE rather than null.
using UniqueFile = UniqueAny<HANDLE, &handle_close::kernel_handle, -1>;
// One COM interface pointer.
template <typename Interface>
using ComPtr = UniqueAny<Interface*, &handle_close::com_interface<Interface>>;

// A window's DC obtained with GetDC (the screen's for a null window), given back with
// ReleaseDC: the release needs the window as well as the DC, so it keeps both.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ == nullptr) return;
    const DWORD error = GetLastError();
    ReleaseDC(window_, dc_);
    SetLastError(error);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  [[nodiscard]] HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC for the scope and selects the previous one back; a null object
// (a font that could not be made) leaves the DC as it is.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) noexcept
      : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~SelectionGuard() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace vessa
