#include "files_win.hpp"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

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

std::optional<std::string> read_bytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
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
