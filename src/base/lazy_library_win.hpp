#pragma once
// System libraries that only rare paths need (WinHTTP for a weather fetch or a place search,
// DWM for the tooltip's corners), loaded on their first use instead of at start-up: a process
// that only draws bars never maps them, nor the libraries they load in turn.
//
// LazyLibrary owns one module handle. LazyFunction<F> is one export of it, typed, and is
// called like the function itself. Both resolve once, on the first call from any thread
// (worker threads make HTTPS requests), and keep the outcome. A library that cannot be loaded
// or an export it lacks makes every call fail the way the function itself reports failure (a
// null handle or FALSE with the thread's last error set, or an HRESULT), with
// ERROR_MOD_NOT_FOUND or ERROR_PROC_NOT_FOUND as the reason; resolve() gives that reason as
// an Error cause.
//
// A library, once loaded, stays loaded until the process ends: detached worker threads may
// still be inside it while static objects are destroyed at exit.

#include <windows.h>

#include <type_traits>

#include "base/result.hpp"
#include "base/unique_handle_win.hpp"
#include "base/win_error_win.hpp"

namespace vessa {

class LazyLibrary {
 public:
  // `file_name` is a library of the system folder (only there is it looked for), and must
  // outlive the object (a string literal).
  explicit LazyLibrary(const wchar_t* file_name) noexcept : file_name_(file_name) {}
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  // The address of `export_name` (a string literal), loading the library on the first call.
  // Null when the library or the export is missing, with `error` saying which.
  [[nodiscard]] FARPROC find(const char* export_name, DWORD& error) noexcept;

 private:
  static BOOL CALLBACK load_once(INIT_ONCE* once, void* self, void** context) noexcept;

  const wchar_t* file_name_;
  INIT_ONCE loaded_ = INIT_ONCE_STATIC_INIT;
  UniqueHmodule module_;
  DWORD load_error_ = ERROR_SUCCESS;
};

namespace lazy_detail {

// What a call returns when its function cannot be had: the function's own way of failing.
template <typename Return>
Return failure(DWORD error) noexcept {
  if constexpr (std::is_same_v<Return, HRESULT>) {
    return HRESULT_FROM_WIN32(error);
  } else {
    SetLastError(error);
    if constexpr (std::is_pointer_v<Return>) {
      return nullptr;
    } else if constexpr (std::is_same_v<Return, BOOL>) {
      return FALSE;
    } else {
      static_assert(std::is_void_v<Return>, "a function whose failure value is not known");
    }
  }
}

}  // namespace lazy_detail

template <typename Function>
class LazyFunction;

template <typename Return, typename... Args>
class LazyFunction<Return(Args...)> {
 public:
  using Function = Return(Args...);

  LazyFunction(LazyLibrary& library, const char* export_name) noexcept : library_(library), name_(export_name) {}
  LazyFunction(const LazyFunction&) = delete;
  LazyFunction& operator=(const LazyFunction&) = delete;

  // Nothing, or the Windows error that keeps the function out of reach.
  [[nodiscard]] Status resolve() {
    if (resolved() != nullptr) return {};
    return win32_error(error_);
  }
  // The function's address; null when it cannot be had.
  [[nodiscard]] Function* address() noexcept { return resolved(); }

  Return operator()(Args... args) noexcept {
    Function* function = resolved();
    if (function == nullptr) return lazy_detail::failure<Return>(error_);
    return function(args...);
  }

 private:
  Function* resolved() noexcept {
    InitOnceExecuteOnce(&once_, &resolve_once, this, nullptr);
    return function_;
  }

  static BOOL CALLBACK resolve_once(INIT_ONCE* /*once*/, void* self, void** /*context*/) noexcept {
    auto& lazy = *static_cast<LazyFunction*>(self);
    const FARPROC address = lazy.library_.find(lazy.name_, lazy.error_);
    lazy.function_ = reinterpret_cast<Function*>(reinterpret_cast<void*>(address));
    return TRUE;  // a failure is an outcome too, kept like a success
  }

  LazyLibrary& library_;
  const char* name_;
  INIT_ONCE once_ = INIT_ONCE_STATIC_INIT;
  Function* function_ = nullptr;
  DWORD error_ = ERROR_SUCCESS;
};

}  // namespace vessa
