#pragma once
// The one window pattern. A window class is a C++ class derived from Window<Derived>: the
// object owns its window, and the window reaches the object through GWLP_USERDATA, stored at
// WM_NCCREATE and cleared at WM_NCDESTROY. Derived names its window class once, as
//     static constexpr wchar_t kClassName[] = L"...";
// and implements
//     LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);
// It may implement `void on_window_gone() noexcept`, called at WM_NCDESTROY once the window
// has gone (destroyed by the program, by its parent, or by another program) and its handle
// has been forgotten, and `static HCURSOR class_cursor() noexcept` for a class without the
// arrow. The class is registered on the first create (or an earlier register_class); a failed
// registration is tried again with the next one.
//
// Every message passes one noexcept procedure that catches whatever a handler throws (an
// allocation failure): that message's work ends there, with a --debug line, and nothing
// unwinds through DispatchMessageW. A child control subclassed with subclass() passes the
// same boundary on its way to Derived's
//     LRESULT handle_control_message(HWND control, UINT message, WPARAM wparam, LPARAM lparam);
// A WM_NCCREATE or WM_CREATE handler that throws makes the creation fail.
//
// Destroying the object destroys its window after detaching it, so no message reaches a
// half-destroyed object; a window that must do its WM_DESTROY work is destroyed with
// destroy() first.

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <exception>
#include <string>

#include "base/debug_output.hpp"
#include "base/unique_handle_win.hpp"

namespace vessa {

// The --debug line for a message whose handler threw.
void report_window_exception(UINT message, const char* what) noexcept;

// Asks for WM_MOUSELEAVE once the pointer leaves `window`, from its WM_MOUSEMOVE. False when
// nothing was armed: the pointer had already gone when the move was handled (a busy thread).
// Windows then posts a WM_MOUSELEAVE at once, but Wine may send none at all, so the window
// must not count itself hovered.
bool track_mouse_leave(HWND window) noexcept;

template <typename Derived>
class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  [[nodiscard]] HWND hwnd() const noexcept { return window_.get(); }
  [[nodiscard]] bool has_window() const noexcept { return window_.valid(); }

  // Destroys the window (its WM_DESTROY and WM_NCDESTROY reach the object); nothing when
  // there is none.
  void destroy() noexcept {
    if (window_) DestroyWindow(window_.get());
  }

  // Registers Derived's window class unless this process has already. False when
  // RegisterClassW fails; the next call tries again.
  [[nodiscard]] static bool register_class() noexcept {
    static std::atomic<bool> registered{false};
    if (registered.load()) return true;
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = &Window::procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = Derived::class_cursor();
    window_class.lpszClassName = Derived::kClassName;
    if (RegisterClassW(&window_class) == 0) return false;
    registered.store(true);
    return true;
  }

 protected:
  Window() noexcept = default;
  ~Window() {
    if (!window_) return;
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);  // detached: no message reaches us any more
    window_.reset();
  }

  // Creates a window of Derived's class, registering it first if need be, with this object as
  // its creation parameter. The object owns it from WM_NCCREATE on; null on failure.
  HWND create(DWORD ex_style, DWORD style, const wchar_t* title, int x, int y, int width, int height, HWND parent,
              HMENU menu = nullptr) noexcept {
    destroy();  // one window per object
    if (!register_class()) return nullptr;
    HWND created = CreateWindowExW(ex_style, Derived::kClassName, title, style, x, y, width, height, parent, menu,
                                   GetModuleHandleW(nullptr), static_cast<Derived*>(this));
    // A window destroyed again before CreateWindowExW returned (its parent went at that very
    // moment) has already been forgotten at WM_NCDESTROY.
    return created != nullptr && window_.get() == created ? created : nullptr;
  }

  // Sends `control`'s messages to Derived's handle_control_message until the control goes.
  bool subclass(HWND control) noexcept {
    return SetWindowSubclass(control, &Window::control_procedure, 0,
                             reinterpret_cast<DWORD_PTR>(static_cast<Derived*>(this))) != FALSE;
  }

  LRESULT default_handling(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    return DefWindowProcW(window_.get(), message, wparam, lparam);
  }

  // Called when the window is gone; Derived may hide this with its own.
  void on_window_gone() noexcept {}

  // The class's cursor; Derived may hide this with its own.
  static HCURSOR class_cursor() noexcept { return LoadCursorW(nullptr, IDC_ARROW); }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<Derived*>(reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      static_cast<Window*>(self)->window_.reset(window);
    }
    auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      (void)static_cast<Window*>(self)->window_.release();  // already destroyed
      self->on_window_gone();  // may make a new window for the same object
      return DefWindowProcW(window, message, wparam, lparam);
    }
    try {
      return self->handle_message(message, wparam, lparam);
    } catch (const std::exception& error) {
      report_window_exception(message, error.what());
    } catch (...) {
      report_window_exception(message, "unknown");
    }
    // A failed WM_CREATE must fail the creation, or the caller gets a window built halfway.
    if (message == WM_NCCREATE) return FALSE;
    return message == WM_CREATE ? -1 : 0;
  }

  static LRESULT CALLBACK control_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                            DWORD_PTR self) noexcept {
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(control, &Window::control_procedure, id);
      return DefSubclassProc(control, message, wparam, lparam);
    }
    try {
      return reinterpret_cast<Derived*>(self)->handle_control_message(control, message, wparam, lparam);
    } catch (const std::exception& error) {
      report_window_exception(message, error.what());
    } catch (...) {
      report_window_exception(message, "unknown");
    }
    return DefSubclassProc(control, message, wparam, lparam);
  }

  UniqueHwnd window_;
};

}  // namespace vessa
