#include "base/lazy_library_win.hpp"

namespace vessa {

BOOL CALLBACK LazyLibrary::load_once(INIT_ONCE* /*once*/, void* self, void** /*context*/) noexcept {
  auto& library = *static_cast<LazyLibrary*>(self);
  // From the system folder only: a library of the same name beside a portable executable
  // must not be picked up instead.
  library.module_.reset(LoadLibraryExW(library.file_name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!library.module_) {
    library.load_error_ = GetLastError();
    if (library.load_error_ == ERROR_SUCCESS) library.load_error_ = ERROR_MOD_NOT_FOUND;
    return TRUE;
  }
  // Pinned: freeing it at exit must not pull it from under a worker thread still inside it.
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                     reinterpret_cast<const wchar_t*>(library.module_.get()), &pinned);
  return TRUE;
}

FARPROC LazyLibrary::find(const char* export_name, DWORD& error) noexcept {
  InitOnceExecuteOnce(&loaded_, &load_once, this, nullptr);
  if (!module_) {
    error = load_error_;
    return nullptr;
  }
  const FARPROC address = GetProcAddress(module_.get(), export_name);
  if (address == nullptr) {
    error = GetLastError();
    if (error == ERROR_SUCCESS) error = ERROR_PROC_NOT_FOUND;
  }
  return address;
}

}  // namespace vessa
