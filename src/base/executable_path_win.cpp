#include "base/executable_path_win.hpp"

#include <windows.h>

#include <string>

#include "base/win_error_win.hpp"

namespace vessa {

Result<std::filesystem::path> executable_path() {
  constexpr char kMessage[] = "実行ファイルのパスを取得できません";
  constexpr std::size_t kLongestPath = 32768;  // in UTF-16 units, with its terminator
  // A path that does not fit is cut short, so the buffer grows until the whole path fits.
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return last_error(kMessage);
    if (length < buffer.size()) {
      buffer.resize(length);
      return std::filesystem::path(std::move(buffer));
    }
    if (buffer.size() >= kLongestPath) return Error(kMessage, win32_error(ERROR_INSUFFICIENT_BUFFER));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace vessa
