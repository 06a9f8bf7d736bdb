#pragma once
// Test harness for the real vessa.exe inside a Wine desktop. Runs inside the desktop as a
// Windows program itself, so it can inspect windows, read the screen and post messages the
// way another program on the user's desktop would.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/unique_handle_win.hpp"
#include "files_win.hpp"

namespace vessa::test {

using namespace std::chrono_literals;

// Polls `condition` every 20 ms until it holds or `timeout` passes, pumping this thread's
// messages meanwhile. Returns whether it held.
bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// A Unix path from the environment (Wine maps / to drive Z:) as a Windows path.
std::filesystem::path windows_path_from_env(const char* variable);

// A fresh folder holding a copy of vessa.exe (the program finds its configuration beside
// itself), its name beginning with `name`; removed with everything in it when the object goes.
class VessaFolder {
 public:
  explicit VessaFolder(std::wstring_view name = L"vessa-test");
  VessaFolder(const VessaFolder&) = delete;
  VessaFolder& operator=(const VessaFolder&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const noexcept { return folder_.path(); }
  [[nodiscard]] std::filesystem::path exe() const { return path() / L"vessa.exe"; }
  [[nodiscard]] std::filesystem::path config() const { return path() / L"config.toml"; }

  void write_config(const std::string& text) const { write_bytes(config(), text); }
  [[nodiscard]] std::optional<std::string> read_config() const { return read_bytes(config()); }

 private:
  TempFolder folder_;
};

// A running vessa.exe with its standard output and error captured.
class VessaProcess {
 public:
  // Starts `exe` with `arguments` (appended after the quoted program path).
  VessaProcess(const std::filesystem::path& exe, const std::wstring& arguments);
  ~VessaProcess();  // terminates the process if it still runs
  VessaProcess(const VessaProcess&) = delete;
  VessaProcess& operator=(const VessaProcess&) = delete;

  [[nodiscard]] DWORD pid() const noexcept { return pid_; }
  [[nodiscard]] HANDLE handle() const noexcept { return process_.get(); }
  // The exit status once the process ended within `timeout`.
  std::optional<DWORD> wait(std::chrono::milliseconds timeout = 10s);
  [[nodiscard]] bool running() const;
  void terminate();
  // Why the process could not be started (GetLastError after CreateProcess); 0 once it was.
  [[nodiscard]] DWORD start_error() const noexcept { return start_error_; }

  // Everything written so far, with "\r\n" turned into "\n".
  [[nodiscard]] std::string output() const;
  [[nodiscard]] std::string error_output() const;
  // The output's lines so far.
  [[nodiscard]] std::vector<std::string> output_lines() const;
  // Waits until a line of the output begins with `prefix`; returns that line.
  std::optional<std::string> wait_for_line(const std::string& prefix, std::chrono::milliseconds timeout = 10s);

 private:
  struct Pipe;
  DWORD pid_ = 0;
  DWORD start_error_ = 0;
  UniqueHandle process_;
  std::unique_ptr<Pipe> out_;
  std::unique_ptr<Pipe> err_;
};

// vessa.exe started with `arguments`, and its bar window once it exists (null when none came).
// The one way the Wine tests start the program and close it again.
struct RunningVessa {
  // From a fresh folder of its own, with `config` written there first when not empty.
  explicit RunningVessa(const std::string& config = {}, const std::wstring& arguments = L"");
  // From `from`, prepared by the test beforehand or shared by several runs; it must outlive this.
  RunningVessa(const VessaFolder& from, const std::wstring& arguments);
  RunningVessa(const VessaFolder&& from, const std::wstring& arguments) = delete;
  ~RunningVessa();  // closes the program if it still runs
  RunningVessa(const RunningVessa&) = delete;
  RunningVessa& operator=(const RunningVessa&) = delete;

  [[nodiscard]] DWORD pid() const { return process->pid(); }
  // Closes the program as the system would (WM_CLOSE to the bar window); its exit status.
  std::optional<DWORD> close(std::chrono::milliseconds timeout = 10s);
  // Closes the program and expects exit status 0; a failure shows what the program wrote.
  [[nodiscard]] ::testing::AssertionResult closes_with_zero(std::chrono::milliseconds timeout = 10s);
  // Everything the program wrote so far to its output and its error output, and the text of a
  // message box it shows, for failure messages.
  [[nodiscard]] std::string report() const;
  // The visible VessaTooltipWindow, once there is one.
  [[nodiscard]] std::optional<HWND> tooltip(std::chrono::milliseconds timeout = 5s) const;
  // Whether every VessaTooltipWindow is gone within `timeout`.
  [[nodiscard]] bool no_tooltip(std::chrono::milliseconds timeout = 5s) const;

 private:
  void wait_for_bar();

  std::optional<VessaFolder> own_folder_;  // before `folder`, which may name it

 public:
  const VessaFolder& folder;
  std::unique_ptr<VessaProcess> process;
  HWND bar = nullptr;
};

struct WindowInfo {
  HWND handle = nullptr;
  std::wstring class_name;
  HWND parent = nullptr;  // GetAncestor(GA_PARENT)
  DWORD style = 0;
  DWORD ex_style = 0;
  RECT rect{};  // screen coordinates
  bool visible = false;
  bool message_only = false;
};

WindowInfo describe_window(HWND window);

// Windows of class `class_name` (any class when null) owned by process `pid`: top-level,
// message-only and children of the taskbar.
std::vector<HWND> find_windows(DWORD pid, const wchar_t* class_name);
// Visible windows of class `class_name` of process `pid`.
std::vector<HWND> visible_windows(DWORD pid, const wchar_t* class_name);
// The deadlines of these waits only bound a failure: a loaded two-core machine can take many
// seconds to start a program under Wine and show its first window.
std::optional<HWND> wait_for_window(DWORD pid, const wchar_t* class_name, std::chrono::milliseconds timeout = 30s);

// The bar window of `pid`, once it exists.
std::optional<HWND> wait_for_bar_window(DWORD pid, std::chrono::milliseconds timeout = 30s);

// A message box (#32770) of process `pid`, its text, and closing it with OK.
std::optional<HWND> wait_for_message_box(DWORD pid, std::chrono::milliseconds timeout = 30s);
std::wstring message_box_text(HWND box);
std::wstring window_text(HWND window);
void press_ok(HWND box);

// The whole screen as 0x00RRGGBB values, read from the screen DC.
struct ScreenShot {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  [[nodiscard]] std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  // Writes a 24-bit BMP, for a look at a failure.
  void save_bmp(const std::filesystem::path& path) const;
};
ScreenShot capture_screen();

// Where tests leave screenshots and other artefacts (VESSA_TEST_OUTPUT, else the temp folder).
std::filesystem::path artefact_folder();

// Figures of another process for leak checks. Wine 8's GetGuiResources is a stub that says
// 0: then the GDI count comes from the process's GDI handle table and the USER count is the
// number of windows the process owns (icons and menus are not counted there).
struct ProcessFigures {
  DWORD gdi_objects = 0;
  DWORD user_objects = 0;
  SIZE_T working_set = 0;
};
ProcessFigures process_figures(HANDLE process);
// The process's GDI objects by the type byte of Wine's GDI handle table, for messages when a
// count grows (empty where there is no such table).
std::map<int, DWORD> gdi_objects_by_type(HANDLE process);
// "GDI objects by type (type: before -> after): 0x05: 10 -> 12" for the types whose count changed.
std::string describe_gdi_change(const std::map<int, DWORD>& before, const std::map<int, DWORD>& after);
// "VessaMonitorWindow (shown), VessaBroadcastWindow": the classes of the process's windows
// (as find_windows finds them), for a message when its USER count grows.
std::string describe_windows(DWORD pid);
// The same figures with the process's passing objects left out (those of a timer tick or a
// repaint under way): the smallest counts seen over `span`, sampled every 50 ms.
ProcessFigures settled_process_figures(HANDLE process, std::chrono::milliseconds span = std::chrono::milliseconds(1500));

// A process's settled object counts once an exercise has made every kind of object, for a
// leak check: more of the same exercise must leave them where they were.
class ObjectCountBaseline {
 public:
  explicit ObjectCountBaseline(HANDLE process);
  // Expects objects at the baseline (so that the check can fail), the USER count unchanged,
  // and the GDI count unchanged but for Wine's cache of window DCs, which may grow once, by a
  // DC, its region and its bitmap, when a paint finds every cached DC in use. A GDI failure
  // names the types whose count changed.
  void expect_flat() const;

 private:
  HANDLE process_;
  ProcessFigures before_;
  std::map<int, DWORD> types_before_;
};

// UTF-8 of a wide string, for messages.
std::string utf8(const std::wstring& text);

}  // namespace vessa::test
