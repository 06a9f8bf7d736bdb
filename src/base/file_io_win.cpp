#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "base/busy_file_retry.hpp"
#include "base/file_io.hpp"
#include "base/unique_handle_win.hpp"
#include "base/win_error_win.hpp"

namespace vessa {
namespace file_io_detail {
extern std::atomic<std::size_t> g_crash_after;
}  // namespace file_io_detail

namespace {

Error last_system_error() { return win32_error(GetLastError()); }

// How many names a save tries for its temporary file before it gives up.
constexpr int kTemporaryNameAttempts = 100;

// Calls `attempt`, a Win32 call that reports failure through the last error, again while
// another program holds the file for a moment; `as_hold` may say which error a failure stands
// for. On failure `last_error` is the last try's own error.
template <typename Attempt, typename AsHold = DWORD (*)(DWORD)>
bool retry_while_busy(
    Attempt attempt, DWORD& last_error, AsHold as_hold = [](DWORD error) { return error; }) {
  for (std::uint32_t failed_tries = 1;; ++failed_tries) {
    if (attempt()) return true;
    last_error = GetLastError();
    const std::optional<std::uint32_t> wait = busy_file_retry_wait_ms(as_hold(last_error), failed_tries);
    if (!wait) return false;
    Sleep(*wait);
  }
}

// A rename over a file that another program holds open fails with access denied, as one over a
// read-only file or a file the user may not delete does; a virus scanner or an indexer reading
// the file for a moment, even one that lets others delete it, is enough. Only the file's own
// attribute and rights are lasting reasons: any other refusal is a hold, waited out.
DWORD replace_error_as_hold(const std::filesystem::path& target, DWORD error) {
  if (error != ERROR_ACCESS_DENIED) return error;
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return error;
  const UniqueFile probe(CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!probe && GetLastError() == ERROR_ACCESS_DENIED) return error;  // no right to replace it
  return ERROR_SHARING_VIOLATION;
}

// A virus scanner may open the temporary file as soon as it is closed, so its removal waits for
// such a hold too. Nothing more can be done when that fails; the save's own error is reported.
void remove_temporary(const std::filesystem::path& temporary) {
  DWORD ignored = 0;
  (void)retry_while_busy([&] { return DeleteFileW(temporary.c_str()) != FALSE; }, ignored);
}

}  // namespace

bool is_regular_file(const std::filesystem::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

Result<std::string> read_file_bytes(const std::filesystem::path& path) {
  UniqueFile file;
  DWORD open_error = ERROR_SUCCESS;
  const auto open = [&] {
    file.reset(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
  };
  if (!retry_while_busy(open, open_error)) return win32_error(open_error);
  std::string bytes;
  char buffer[65536];
  while (true) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr)) return last_system_error();
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  return bytes;
}

// Folder by folder with CreateDirectoryW, so that a failure carries the system's own error code
// (std::filesystem reports errno values here, which are no Win32 codes).
Status create_folders(const std::filesystem::path& folder) {
  std::filesystem::path current = folder.root_path();
  for (const std::filesystem::path& part : folder.relative_path()) {
    if (part.empty()) continue;  // a trailing separator
    current /= part;
    const DWORD attributes = GetFileAttributesW(current.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    if (!CreateDirectoryW(current.c_str(), nullptr)) {
      const DWORD code = GetLastError();
      const DWORD now = GetFileAttributesW(current.c_str());
      if (code == ERROR_ALREADY_EXISTS && now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        continue;  // made meanwhile by someone else
      }
      return win32_error(code);
    }
  }
  return {};
}

Status write_file_atomically(const std::filesystem::path& path, std::string_view bytes) {
  // A process that died while saving leaves its temporary file behind, and a later process may
  // get the same id: a name that is taken is passed over for the next one.
  static std::atomic<unsigned> counter{0};
  std::filesystem::path temporary;
  UniqueFile file;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && !file; ++attempt) {
    temporary = path;
    temporary += L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
    file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (!file) return last_system_error();
  const std::size_t crash_after = file_io_detail::g_crash_after.load();
  std::size_t written = 0;
  while (written < bytes.size()) {
    std::size_t chunk = bytes.size() - written;
    if (chunk > 1u << 20) chunk = 1u << 20;
    if (crash_after != 0 && written + chunk > crash_after) chunk = crash_after - written;
    DWORD done = 0;
    const bool wrote = WriteFile(file.get(), bytes.data() + written, static_cast<DWORD>(chunk), &done, nullptr);
    if (!wrote || done == 0) {
      // A write that succeeds without writing anything has no error code of its own.
      const Error error = wrote ? win32_error(ERROR_WRITE_FAULT) : last_system_error();
      file.reset();
      remove_temporary(temporary);
      return error;
    }
    written += done;
    if (crash_after != 0 && written >= crash_after) return Error("simulated crash");
  }
  if (!FlushFileBuffers(file.get())) {
    const Error error = last_system_error();
    file.reset();
    remove_temporary(temporary);
    return error;
  }
  file.reset();  // closed before it replaces the file
  // An editor, scanner or indexer that has the old file open without FILE_SHARE_DELETE makes
  // the replace fail until it lets go, usually within milliseconds: the save waits for it.
  DWORD move_error = ERROR_SUCCESS;
  if (!retry_while_busy(
          [&] {
            return MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) !=
                   FALSE;
          },
          move_error, [&](DWORD error) { return replace_error_as_hold(path, error); })) {
    remove_temporary(temporary);
    return win32_error(move_error);
  }
  return {};
}

Status move_file(const std::filesystem::path& from, const std::filesystem::path& to) {
  DWORD move_error = ERROR_SUCCESS;
  const auto move = [&] {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  };
  if (!retry_while_busy(move, move_error)) return win32_error(move_error);
  return {};
}

}  // namespace vessa
