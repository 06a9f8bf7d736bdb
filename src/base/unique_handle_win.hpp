#pragma once
// One move-only owner for every kind of Windows handle, in the spirit of WIL's unique_any:
// get / reset / release / put. Nothing is released by hand in a function body; a handle is
// closed exactly once, by its owner.

#include <windows.h>
#include <objbase.h>
#include <unknwn.h>

#include <utility>

namespace vessa {

template <typename Handle, auto Close, Handle Invalid = Handle{}>
class UniqueAny {
 public:
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
  [[nodiscard]] bool valid() const noexcept { return handle_ != Invalid; }
  explicit operator bool() const noexcept { return valid(); }

  // Closes the held handle (if any) and takes `handle`.
  void reset(Handle handle = Invalid) noexcept {
    if (handle_ != Invalid) Close(handle_);
    handle_ = handle;
  }
  // Gives the handle up without closing it.
  [[nodiscard]] Handle release() noexcept { return std::exchange(handle_, Invalid); }
  // Closes the held handle and returns the address to receive a new one (out parameters).
  [[nodiscard]] Handle* put() noexcept {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = Invalid;
};

namespace handle_close {
inline void window(HWND h) noexcept { DestroyWindow(h); }
inline void bitmap(HBITMAP h) noexcept { DeleteObject(h); }
inline void font(HFONT h) noexcept { DeleteObject(h); }
inline void brush(HBRUSH h) noexcept { DeleteObject(h); }
inline void pen(HPEN h) noexcept { DeleteObject(h); }
inline void region(HRGN h) noexcept { DeleteObject(h); }
inline void memory_dc(HDC h) noexcept { DeleteDC(h); }
inline void icon(HICON h) noexcept { DestroyIcon(h); }
inline void menu(HMENU h) noexcept { DestroyMenu(h); }
inline void kernel_handle(HANDLE h) noexcept { CloseHandle(h); }
inline void registry_key(HKEY h) noexcept { RegCloseKey(h); }
inline void module(HMODULE h) noexcept { FreeLibrary(h); }
inline void local_memory(HLOCAL h) noexcept { LocalFree(h); }
inline void co_task_string(wchar_t* h) noexcept { CoTaskMemFree(h); }
}  // namespace handle_close

using UniqueHwnd = UniqueAny<HWND, &handle_close::window>;
using UniqueHbitmap = UniqueAny<HBITMAP, &handle_close::bitmap>;
using UniqueHfont = UniqueAny<HFONT, &handle_close::font>;
using UniqueHbrush = UniqueAny<HBRUSH, &handle_close::brush>;
using UniqueHpen = UniqueAny<HPEN, &handle_close::pen>;
using UniqueHrgn = UniqueAny<HRGN, &handle_close::region>;
using UniqueMemoryDc = UniqueAny<HDC, &handle_close::memory_dc>;
using UniqueHicon = UniqueAny<HICON, &handle_close::icon>;
using UniqueHmenu = UniqueAny<HMENU, &handle_close::menu>;
using UniqueHandle = UniqueAny<HANDLE, &handle_close::kernel_handle>;
using UniqueHkey = UniqueAny<HKEY, &handle_close::registry_key>;
using UniqueHmodule = UniqueAny<HMODULE, &handle_close::module>;
// A string the shell allocated for the caller (SHGetKnownFolderPath and the like).
using UniqueCoTaskString = UniqueAny<wchar_t*, &handle_close::co_task_string>;
// CreateFile reports failure as INVALID_HANDLE_VALUE rather than null.
class UniqueFile {
 public:
  UniqueFile() noexcept = default;
  explicit UniqueFile(HANDLE handle) noexcept : handle_(handle) {}
  ~UniqueFile() { reset(); }
  UniqueFile(const UniqueFile&) = delete;
  UniqueFile& operator=(const UniqueFile&) = delete;
  UniqueFile(UniqueFile&& other) noexcept : handle_(other.release()) {}
  UniqueFile& operator=(UniqueFile&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  [[nodiscard]] HANDLE get() const noexcept { return handle_; }
  [[nodiscard]] bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  explicit operator bool() const noexcept { return valid(); }
  void reset(HANDLE handle = INVALID_HANDLE_VALUE) noexcept {
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
  }
  [[nodiscard]] HANDLE release() noexcept { return std::exchange(handle_, INVALID_HANDLE_VALUE); }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A screen or window DC obtained with GetDC, given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  [[nodiscard]] HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC for the scope and selects the previous one back.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectionGuard() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Owner of one COM interface pointer.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ~ComPtr() { reset(); }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      reset();
      pointer_ = std::exchange(other.pointer_, nullptr);
    }
    return *this;
  }
  [[nodiscard]] Interface* get() const noexcept { return pointer_; }
  Interface* operator->() const noexcept { return pointer_; }
  explicit operator bool() const noexcept { return pointer_ != nullptr; }
  void reset() noexcept {
    if (pointer_ != nullptr) std::exchange(pointer_, nullptr)->Release();
  }
  [[nodiscard]] Interface** put() noexcept {
    reset();
    return &pointer_;
  }
  [[nodiscard]] void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

 private:
  Interface* pointer_ = nullptr;
};

// Runs a callable when the scope ends.
template <typename Callable>
class ScopeExit {
 public:
  explicit ScopeExit(Callable callable) noexcept : callable_(std::move(callable)) {}
  ~ScopeExit() { callable_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Callable callable_;
};

}  // namespace vessa
