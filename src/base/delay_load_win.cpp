// The delay-load helper's notification hook, for the MinGW build's delay-loaded libraries
// (cmake/delay_load.cmake). On the first call of such a function the helper writes its address
// into the delay-load import table. GNU ld 2.44 (Debian 13's MinGW-w64, current MSYS2) links
// that table into the read-only .idata section, where the write faults: the settings window's
// first call (the dark title bar, in WM_CREATE) ended the window's creation halfway, empty.
// Before each entry is resolved, this hook makes it writable again, as older linkers left it.
#if defined(__MINGW32__)

#include <windows.h>
#include <delayimp.h>

namespace {

FARPROC WINAPI make_entry_writable(unsigned notification, PDelayLoadInfo info) {
  if (notification == dliStartProcessing && info != nullptr && info->ppfn != nullptr) {
    DWORD previous = 0;
    (void)VirtualProtect(info->ppfn, sizeof(*info->ppfn), PAGE_READWRITE, &previous);
  }
  return nullptr;  // the helper resolves the function as usual
}

}  // namespace

// The helper's hook variable, which the C runtime would otherwise define as empty.
PfnDliHook __pfnDliNotifyHook2 = make_entry_writable;

#endif
