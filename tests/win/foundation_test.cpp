// The executable's resources, the Windows side of errors and diagnostics, and the window
// template's boundary for a handler that throws.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>

#include "base/unique_handle_win.hpp"
#include "base/win_error_win.hpp"
#include "base/window_win.hpp"
#include "harness_win.hpp"

namespace vessa {
namespace {

std::string manifest_of(const std::filesystem::path& exe) {
  const UniqueHmodule module(
      LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!module) return {};
  std::string text;
  if (HRSRC resource = FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    if (HGLOBAL loaded = LoadResource(module.get(), resource)) {
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module.get(), resource));
    }
  }
  return text;
}

TEST(Shell_Resources, ManifestAsksForInvokerCommonControls6AndPerMonitorV2) {
  const auto exe = test::windows_path_from_env("VESSA_EXE");
  const std::string manifest = manifest_of(exe);
  ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST 1 in " << exe.string();
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2"),
            std::string::npos);
  EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);  // Windows 10 and 11
}

TEST(Shell_Resources, VersionResourceSays150) {
  const auto exe = test::windows_path_from_env("VESSA_EXE");
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(VESSA_VERSION, "%u.%u.%u", &major, &minor, &patch), 3);
  EXPECT_EQ(fixed->dwFileVersionMS, (major << 16) | minor);
  EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, (major << 16) | minor);
  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", reinterpret_cast<void**>(&text),
                             &length));
  EXPECT_EQ(test::utf8(text), VESSA_VERSION);
}

TEST(Shell_WinError, SystemTextThenTheHresult) {
  EXPECT_EQ(win32_error(ERROR_FILE_NOT_FOUND).message(), "File not found. (0x80070002)");
  SetLastError(ERROR_ACCESS_DENIED);
  const Error error = last_error("設定ファイルを書き込めません: C:\\config.toml");
  EXPECT_EQ(error.full_text(), "設定ファイルを書き込めません: C:\\config.toml: Access denied. (0x80070005)");
}

TEST(Shell_WinError, InternetCodesFindTheirTextInTheInternetModules) {
  const std::string text = win32_error(12002).message();  // ERROR_WINHTTP_TIMEOUT
  ASSERT_GT(text.size(), 13u) << "no text for the time-out: " << text;
  EXPECT_EQ(text.substr(text.size() - 13), " (0x80072EE2)") << text;
}

TEST(Shell_WinError, CodeAloneWhenTheSystemHasNoText) {
  EXPECT_EQ(win32_error(0x2FFFF).message(), "0x8007FFFF");
}

// A window whose WM_CREATE handler runs out of memory.
class FailingCreation : public Window<FailingCreation> {
 public:
  static constexpr wchar_t kClassName[] = L"VessaTestFailingCreation";
  using Window::create;
  LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) throw std::bad_alloc();
    return default_handling(message, wparam, lparam);
  }
};

TEST(Shell_WindowTemplate, AThrowingCreationHandlerFailsTheCreation) {
  ASSERT_TRUE(FailingCreation::register_class());
  FailingCreation window;
  EXPECT_EQ(window.create(0, WS_POPUP, L"", 0, 0, 10, 10, nullptr), nullptr);
  EXPECT_FALSE(window.has_window());
}

}  // namespace
}  // namespace vessa
