#include "harness_win.hpp"

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/wide_win.hpp"

namespace vessa::test {

bool wait_until(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(20);
  }
}

std::filesystem::path windows_path_from_env(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == '\0') return {};
  std::string text = value;
  if (text.front() == '/') text = "Z:" + text;
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return std::filesystem::path(widen(text));
}

std::string utf8(const std::wstring& text) { return narrow(text); }

// --- VessaFolder -------------------------------------------------------------------------

VessaFolder::VessaFolder(std::wstring_view name) : folder_(name) {
  const auto source = windows_path_from_env("VESSA_EXE");
  if (!source.empty()) std::filesystem::copy_file(source, exe(), std::filesystem::copy_options::overwrite_existing);
}

// --- VessaProcess ------------------------------------------------------------------------

// One captured output stream. The reader thread is detached and shares the buffer, so that a
// stray process still holding the write end (Wine may start helpers that inherit it) never
// blocks the test; the thread ends with the test program at the latest.
struct VessaProcess::Pipe {
  struct Shared {
    std::mutex mutex;
    std::string data;
  };
  UniqueHandle read;
  UniqueHandle write;
  std::shared_ptr<Shared> shared = std::make_shared<Shared>();

  Pipe() {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (CreatePipe(&read_end, &write_end, &inherit, 0)) {
      read.reset(read_end);
      write.reset(write_end);
      SetHandleInformation(read.get(), HANDLE_FLAG_INHERIT, 0);
    }
  }
  void start_reading() {
    write.reset();  // the child holds its own copy
    std::thread([read = std::move(read), shared = shared] {
      char buffer[4096];
      DWORD got = 0;
      while (ReadFile(read.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        std::lock_guard lock(shared->mutex);
        shared->data.append(buffer, got);
      }
    }).detach();
  }
  std::string text() const {
    std::lock_guard lock(shared->mutex);
    std::string out;
    out.reserve(shared->data.size());
    for (char c : shared->data) {
      if (c != '\r') out += c;
    }
    return out;
  }
};

VessaProcess::VessaProcess(const std::filesystem::path& exe, const std::wstring& arguments)
    : out_(std::make_unique<Pipe>()), err_(std::make_unique<Pipe>()) {
  std::wstring command_line = L"\"" + exe.wstring() + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out_->write.get();
  startup.hStdError = err_->write.get();
  PROCESS_INFORMATION info{};
  const std::wstring folder = exe.parent_path().wstring();
  // Wine now and then refuses a start (once in some thousands, under load): the start is tried
  // twice more, and each refusal is said.
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                       &startup, &info)) {
      const UniqueHandle thread(info.hThread);
      process_.reset(info.hProcess);
      pid_ = info.dwProcessId;
      start_error_ = 0;
      break;
    }
    start_error_ = GetLastError();
    std::cerr << "CreateProcess refused to start " << exe.filename().string() << ": error " << start_error_ << '\n';
    Sleep(200);
  }
  out_->start_reading();
  err_->start_reading();
}

VessaProcess::~VessaProcess() {
  if (running()) terminate();
  if (process_) WaitForSingleObject(process_.get(), 5000);
}

std::optional<DWORD> VessaProcess::wait(std::chrono::milliseconds timeout) {
  if (!process_) return std::nullopt;
  const bool ended = wait_until([&] { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }, timeout);
  if (!ended) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

bool VessaProcess::running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void VessaProcess::terminate() {
  if (process_) TerminateProcess(process_.get(), 99);
}

std::string VessaProcess::output() const { return out_->text(); }
std::string VessaProcess::error_output() const { return err_->text(); }

std::vector<std::string> VessaProcess::output_lines() const {
  std::vector<std::string> lines;
  std::istringstream stream(output());
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::optional<std::string> VessaProcess::wait_for_line(const std::string& prefix, std::chrono::milliseconds timeout) {
  std::optional<std::string> found;
  wait_until(
      [&] {
        for (const auto& line : output_lines()) {
          if (line.rfind(prefix, 0) == 0) {
            found = line;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

// --- RunningVessa ------------------------------------------------------------------------

RunningVessa::RunningVessa(const std::string& config, const std::wstring& arguments)
    : folder(own_folder_.emplace()) {
  if (!config.empty()) folder.write_config(config);
  process = std::make_unique<VessaProcess>(folder.exe(), arguments);
  wait_for_bar();
}

RunningVessa::RunningVessa(const VessaFolder& from, const std::wstring& arguments)
    : folder(from), process(std::make_unique<VessaProcess>(folder.exe(), arguments)) {
  wait_for_bar();
}

void RunningVessa::wait_for_bar() {
  if (process->start_error() == 0) {
    if (const auto window = wait_for_bar_window(process->pid())) {
      bar = *window;
      return;
    }
  }
  // Said here, for every test that goes on to expect the bar window.
  std::cerr << "no bar window after the start (the program "
            << (process->running() ? "still runs" : "is not running") << "): " << report() << '\n';
}

RunningVessa::~RunningVessa() {
  if (process->running()) close();
}

std::optional<DWORD> RunningVessa::close(std::chrono::milliseconds timeout) {
  // The bar window may have been replaced since the start (a shell restart): close the current one.
  if (const auto current = wait_for_bar_window(pid(), 1s)) bar = *current;
  if (bar != nullptr) PostMessageW(bar, WM_CLOSE, 0, 0);
  return process->wait(timeout);
}

::testing::AssertionResult RunningVessa::closes_with_zero(std::chrono::milliseconds timeout) {
  const std::optional<DWORD> status = close(timeout);
  if (status == std::optional<DWORD>(0)) return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure();
  if (status) {
    failure << "exit status " << *status;
  } else {
    failure << "still running after " << timeout.count() << " ms";
  }
  return failure << "; what it wrote:\n" << report();
}

std::string RunningVessa::report() const {
  if (process->start_error() != 0) {
    return "the program did not start: error " + std::to_string(process->start_error()) + " from CreateProcess\n";
  }
  std::string text = process->output() + process->error_output();
  // A program that never made its bar window may be showing why in a message box.
  for (HWND box : find_windows(pid(), L"#32770")) {
    const std::wstring message = message_box_text(box);
    if (!message.empty()) text += "message box: " + utf8(message) + "\n";
  }
  return text;
}

std::optional<HWND> RunningVessa::tooltip(std::chrono::milliseconds timeout) const {
  std::optional<HWND> found;
  wait_until(
      [&] {
        const auto windows = visible_windows(pid(), L"VessaTooltipWindow");
        if (!windows.empty()) found = windows.front();
        return found.has_value();
      },
      timeout);
  return found;
}

bool RunningVessa::no_tooltip(std::chrono::milliseconds timeout) const {
  return wait_until([&] { return find_windows(pid(), L"VessaTooltipWindow").empty(); }, timeout);
}

// --- Windows ------------------------------------------------------------------------------

namespace {

// Whether `parent` is the root every message-only window hangs from, by its class ("Message",
// on Windows as in Wine). Not by its handle: a test run under Wine has seen the program's
// message-only window under another root than a message-only window of this process, and
// another program's window taken for a reference may be gone by the time its parent is asked for.
bool is_message_only_root(HWND parent) {
  wchar_t name[16] = L"";
  return parent != nullptr && GetClassNameW(parent, name, 16) > 0 && std::wstring_view(name) == L"Message";
}

}  // namespace

WindowInfo describe_window(HWND window) {
  WindowInfo info;
  info.handle = window;
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  info.class_name = name;
  info.parent = GetAncestor(window, GA_PARENT);
  info.style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  info.ex_style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  GetWindowRect(window, &info.rect);
  info.visible = IsWindowVisible(window) != FALSE;
  info.message_only = is_message_only_root(info.parent);
  return info;
}

namespace {

struct Search {
  DWORD pid;
  const wchar_t* class_name;
  std::vector<HWND>* found;
};

BOOL CALLBACK collect(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.pid) return TRUE;
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  if (search.class_name == nullptr || wcscmp(name, search.class_name) == 0) search.found->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> find_windows(DWORD pid, const wchar_t* class_name) {
  std::vector<HWND> found;
  Search search{pid, class_name, &found};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, class_name, nullptr); window != nullptr;
       window = FindWindowExW(HWND_MESSAGE, window, class_name, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == pid) found.push_back(window);
  }
  // A child of a taskbar: of any of them, since a desktop may hold more than one for a moment
  // (a test's fake taskbar beside the one Wine's explorer shows once a tray icon was added).
  for (HWND taskbar = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr); taskbar != nullptr;
       taskbar = FindWindowExW(nullptr, taskbar, L"Shell_TrayWnd", nullptr)) {
    EnumChildWindows(taskbar, collect, reinterpret_cast<LPARAM>(&search));
  }
  return found;
}

std::vector<HWND> visible_windows(DWORD pid, const wchar_t* class_name) {
  std::vector<HWND> visible;
  for (HWND window : find_windows(pid, class_name)) {
    if (IsWindowVisible(window)) visible.push_back(window);
  }
  return visible;
}

std::optional<HWND> wait_for_window(DWORD pid, const wchar_t* class_name, std::chrono::milliseconds timeout) {
  std::optional<HWND> found;
  wait_until(
      [&] {
        const auto windows = find_windows(pid, class_name);
        if (windows.empty()) return false;
        found = windows.front();
        return true;
      },
      timeout);
  return found;
}

std::optional<HWND> wait_for_bar_window(DWORD pid, std::chrono::milliseconds timeout) {
  return wait_for_window(pid, L"VessaMonitorWindow", timeout);
}

std::optional<HWND> wait_for_message_box(DWORD pid, std::chrono::milliseconds timeout) {
  // The box exists a moment before its texts are set; wait for the message too.
  std::optional<HWND> found;
  wait_until(
      [&] {
        for (HWND box : find_windows(pid, L"#32770")) {
          if (!message_box_text(box).empty()) {
            found = box;
            return true;
          }
        }
        return false;
      },
      timeout);
  return found;
}

std::wstring window_text(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got < 0 ? 0 : got));
  return text;
}

std::wstring message_box_text(HWND box) {
  // The message of a message box is its static control 0xFFFF.
  HWND label = GetDlgItem(box, 0xFFFF);
  return label != nullptr ? window_text(label) : std::wstring();
}

void press_ok(HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }

// --- Screen --------------------------------------------------------------------------------

ScreenShot capture_screen() {
  ScreenShot shot;
  const WindowDc screen(nullptr);
  shot.width = GetDeviceCaps(screen.get(), HORZRES);
  shot.height = GetDeviceCaps(screen.get(), VERTRES);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  const UniqueHbitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || bits == nullptr) return ScreenShot{};
  {
    const SelectionGuard selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), 0, 0, SRCCOPY);
    GdiFlush();
  }
  const auto* source = static_cast<const std::uint32_t*>(bits);
  shot.pixels.assign(source, source + static_cast<std::size_t>(shot.width) * shot.height);
  for (auto& pixel : shot.pixels) pixel &= 0x00FFFFFFu;
  return shot;
}

void ScreenShot::save_bmp(const std::filesystem::path& path) const {
  const int row_bytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = -height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(row_bytes * height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  std::vector<char> row(static_cast<std::size_t>(row_bytes), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = at(x, y);
      row[static_cast<std::size_t>(x) * 3 + 0] = static_cast<char>(pixel & 0xFF);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<char>((pixel >> 8) & 0xFF);
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<char>((pixel >> 16) & 0xFF);
    }
    out.write(row.data(), row_bytes);
  }
}

std::filesystem::path artefact_folder() {
  auto folder = windows_path_from_env("VESSA_TEST_OUTPUT");
  if (folder.empty()) folder = system_temp_folder();
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder;
}

namespace {

// One entry of the GDI handle table that the PEB points to (GdiSharedHandleTable, offset 0xF8
// in a 64-bit PEB); a live handle's entry has a non-zero type.
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t user_pointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);

}  // namespace

std::map<int, DWORD> gdi_objects_by_type(HANDLE process) {
  struct BasicInformation {
    LONG exit_status;
    void* peb;
    ULONG_PTR affinity;
    LONG base_priority;
    ULONG_PTR process_id;
    ULONG_PTR parent_process_id;
  };
  using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  BasicInformation info{};
  ULONG length = 0;
  if (query == nullptr || query(process, 0, &info, sizeof(info), &length) != 0 || info.peb == nullptr) return {};
  std::uint64_t table = 0;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, static_cast<const char*>(info.peb) + 0xF8, &table, sizeof(table), &read) ||
      table == 0) {
    return {};
  }
  std::vector<GdiHandleEntry> entries(0x10000);
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                         entries.size() * sizeof(GdiHandleEntry), &read)) {
    return {};
  }
  std::map<int, DWORD> types;
  for (const GdiHandleEntry& entry : entries) {
    if (entry.type != 0) ++types[entry.type];
  }
  return types;
}

namespace {

DWORD gdi_table_count(HANDLE process) {
  DWORD count = 0;
  for (const auto& [type, objects] : gdi_objects_by_type(process)) count += objects;
  return count;
}

BOOL CALLBACK count_window(HWND window, LPARAM parameter) {
  auto& [pid, count] = *reinterpret_cast<std::pair<DWORD, DWORD>*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == pid) ++count;
  EnumChildWindows(window, count_window, parameter);
  return TRUE;
}

DWORD window_count(HANDLE process) {
  std::pair<DWORD, DWORD> search{GetProcessId(process), 0};
  EnumWindows(count_window, reinterpret_cast<LPARAM>(&search));
  for (HWND window = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
       window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.first) ++search.second;
  }
  return search.second;
}

}  // namespace

ProcessFigures process_figures(HANDLE process) {
  ProcessFigures figures;
  figures.gdi_objects = GetGuiResources(process, GR_GDIOBJECTS);
  figures.user_objects = GetGuiResources(process, GR_USEROBJECTS);
  if (figures.gdi_objects == 0) figures.gdi_objects = gdi_table_count(process);
  if (figures.user_objects == 0) figures.user_objects = window_count(process);
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(process, &counters, sizeof(counters))) figures.working_set = counters.WorkingSetSize;
  return figures;
}

std::string describe_gdi_change(const std::map<int, DWORD>& before, const std::map<int, DWORD>& after) {
  std::map<int, std::pair<DWORD, DWORD>> both;
  for (const auto& [type, count] : before) both[type].first = count;
  for (const auto& [type, count] : after) both[type].second = count;
  std::ostringstream text;
  text << "GDI objects by type (type: before -> after):";
  for (const auto& [type, counts] : both) {
    if (counts.first == counts.second) continue;
    char name[8];
    std::snprintf(name, sizeof(name), "0x%02X", type);
    text << ' ' << name << ": " << counts.first << " -> " << counts.second;
  }
  return text.str();
}

std::string describe_windows(DWORD pid) {
  std::string text;
  for (HWND window : find_windows(pid, nullptr)) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    text += (text.empty() ? "" : ", ") + utf8(name) + (IsWindowVisible(window) ? " (shown)" : "");
  }
  return text;
}

ProcessFigures settled_process_figures(HANDLE process, std::chrono::milliseconds span) {
  ProcessFigures settled = process_figures(process);
  const auto end = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < end) {
    Sleep(50);
    const ProcessFigures now = process_figures(process);
    settled.gdi_objects = std::min(settled.gdi_objects, now.gdi_objects);
    settled.user_objects = std::min(settled.user_objects, now.user_objects);
    settled.working_set = now.working_set;
  }
  return settled;
}

ObjectCountBaseline::ObjectCountBaseline(HANDLE process)
    : process_(process), before_(settled_process_figures(process)), types_before_(gdi_objects_by_type(process)) {}

void ObjectCountBaseline::expect_flat() const {
  const ProcessFigures after = settled_process_figures(process_);
  EXPECT_GT(before_.gdi_objects, 0u);
  constexpr DWORD kWineDcCacheGrowth = 3;
  EXPECT_LE(after.gdi_objects, before_.gdi_objects + kWineDcCacheGrowth)
      << describe_gdi_change(types_before_, gdi_objects_by_type(process_));
  EXPECT_EQ(after.user_objects, before_.user_objects) << "its windows now: " << describe_windows(GetProcessId(process_));
}

}  // namespace vessa::test
