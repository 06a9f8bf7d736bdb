#include "files_win.hpp"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <future>
#include <sstream>

#include "base/unique_handle_win.hpp"

namespace vessa::test {

namespace fs = std::filesystem;

fs::path system_temp_folder() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  return fs::path(temp);
}

TempFolder::TempFolder(std::wstring_view prefix) {
  static std::atomic<int> counter{0};
  path_ = system_temp_folder() / (std::wstring(prefix) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(counter++));
  remove_everything(path_);
  fs::create_directories(path_);
}

TempFolder::~TempFolder() { remove_everything(path_); }

FileHolder::FileHolder(fs::path path, std::chrono::milliseconds hold, Sharing sharing)
    : let_go_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  std::promise<bool> open_promise;
  std::future<bool> open = open_promise.get_future();
  const DWORD share = sharing == Sharing::Everything     ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                      : sharing == Sharing::ReadAndWrite ? FILE_SHARE_READ | FILE_SHARE_WRITE
                                                         : 0;
  holder_ = std::thread([path = std::move(path), hold, share, let_go = let_go_.get(),
                         open_promise = std::move(open_promise)]() mutable {
    const UniqueFile file(
        CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    open_promise.set_value(static_cast<bool>(file));
    if (file) WaitForSingleObject(let_go, static_cast<DWORD>(hold.count()));
  });
  opened_ = open.get();
}

FileHolder::~FileHolder() {
  SetEvent(let_go_.get());
  holder_.join();
}

// Opened with every sharing right, as a polite reader does: the program replaces its
// configuration by renaming over it, which fails while anyone holds the file without
// FILE_SHARE_DELETE (std::ifstream does).
std::optional<std::string> read_bytes(const fs::path& path) {
  const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got != 0) bytes.append(buffer, got);
  return bytes;
}

void write_bytes(const fs::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
}

void remove_everything(const fs::path& path) {
  std::error_code ignored;
  if (fs::is_directory(path, ignored)) {
    for (auto it = fs::recursive_directory_iterator(path, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  fs::remove_all(path, ignored);
}

}  // namespace vessa::test
