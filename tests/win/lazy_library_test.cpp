// Libraries loaded on first use: what a call gives when the library or the export is missing,
// that a present one is loaded only when first called and resolved once for all threads, and
// that the functions linked through delay-load import libraries reach their libraries.
#include <windows.h>
#include <commdlg.h>
#include <dwmapi.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "base/lazy_library_win.hpp"

namespace vessa {
namespace {

using StartFunction = INT();  // LZStart: 1 on success
using CreateEventFunction = HANDLE(SECURITY_ATTRIBUTES*, BOOL, BOOL, const wchar_t*);
using BoolFunction = BOOL(int);
using HresultFunction = HRESULT(int);

TEST(Shell_LazyLibrary, MissingLibraryOrExportFailsEveryCallTheWayTheFunctionWould) {
  struct Case {
    const char* name;
    const wchar_t* library;
    const char* export_name;
    DWORD error;
    const char* cause;
  };
  const Case cases[] = {
      {"missing library", L"vessa-no-such-library.dll", "Anything", ERROR_MOD_NOT_FOUND, "(0x8007007E)"},
      {"missing export", L"kernel32.dll", "VessaNoSuchExport", ERROR_PROC_NOT_FOUND, "(0x8007007F)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LazyLibrary library(c.library);
    LazyFunction<CreateEventFunction> returns_handle(library, c.export_name);
    LazyFunction<BoolFunction> returns_bool(library, c.export_name);
    LazyFunction<HresultFunction> returns_hresult(library, c.export_name);
    for (int attempt = 0; attempt < 2; ++attempt) {  // the outcome is kept, not forgotten
      SetLastError(ERROR_SUCCESS);
      EXPECT_EQ(returns_handle(nullptr, TRUE, FALSE, nullptr), nullptr);
      EXPECT_EQ(GetLastError(), c.error);
      SetLastError(ERROR_SUCCESS);
      EXPECT_EQ(returns_bool(1), FALSE);
      EXPECT_EQ(GetLastError(), c.error);
      EXPECT_EQ(returns_hresult(1), HRESULT_FROM_WIN32(c.error));
    }
    const Status resolved = returns_bool.resolve();
    ASSERT_FALSE(resolved.ok());
    EXPECT_EQ(returns_bool.address(), nullptr);
    const std::string text = resolved.error().full_text();
    EXPECT_EQ(text.substr(text.size() - std::string(c.cause).size()), c.cause) << text;
  }
}

TEST(Shell_LazyLibrary, PresentLibraryIsLoadedOnFirstCallAndResolvedOnceForAllThreads) {
  // A system library this test program does not import and nothing else here loads.
  constexpr wchar_t kLibrary[] = L"lz32.dll";
  ASSERT_EQ(GetModuleHandleW(kLibrary), nullptr) << "pick a library nothing has loaded yet";
  LazyLibrary library(kLibrary);
  LazyFunction<StartFunction> lz_start(library, "LZStart");
  EXPECT_EQ(GetModuleHandleW(kLibrary), nullptr) << "loaded before its first use";

  std::array<INT, 8> results{};
  std::array<std::thread, 8> threads;
  for (std::size_t i = 0; i < threads.size(); ++i) {
    threads[i] = std::thread([&lz_start, &results, i] { results[i] = lz_start(); });
  }
  for (std::thread& thread : threads) thread.join();
  for (const INT result : results) EXPECT_EQ(result, 1);

  const HMODULE loaded = GetModuleHandleW(kLibrary);
  ASSERT_NE(loaded, nullptr);
  const Status resolved = lz_start.resolve();
  ASSERT_TRUE(resolved.ok()) << resolved.error().full_text();
  EXPECT_EQ(reinterpret_cast<void*>(lz_start.address()), reinterpret_cast<void*>(GetProcAddress(loaded, "LZStart")));
}

// Each of these is called through its delay-load thunk (the settings window's and the clock
// search's), which loads the library on this first call.
TEST(Shell_DelayLoad, DelayLoadedFunctionsReachTheirLibraries) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  const UniqueHwnd owned(window);

  CHOOSECOLORW choose{};  // a size of 0: refused at once, no dialog
  EXPECT_FALSE(ChooseColorW(&choose));
  EXPECT_NE(GetModuleHandleW(L"comdlg32.dll"), nullptr);

  const BOOL value = TRUE;
  EXPECT_EQ(DwmSetWindowAttribute(window, 20, &value, sizeof(value)), S_OK);  // a stub under Wine

  VARIANT variant;
  VariantInit(&variant);
  EXPECT_EQ(variant.vt, VT_EMPTY);
  BSTR text = SysAllocString(L"SystemTrayIcon");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 14u);
  SysFreeString(text);
}

}  // namespace
}  // namespace vessa
