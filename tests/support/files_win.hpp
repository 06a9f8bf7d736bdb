#pragma once
// Files and folders of a test: a fresh temporary folder, whole-file reads and writes, and a file
// held open the way other programs hold it.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "base/unique_handle_win.hpp"

namespace vessa::test {

// A fresh, empty folder in the temporary folder, removed with everything in it (read-only
// leftovers included) when the object goes.
class TempFolder {
 public:
  explicit TempFolder(std::wstring_view prefix = L"vessa-test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

// Holds a file open from a thread of its own, as an editor, a virus scanner or a search indexer
// does: others may read and write it, but nobody may delete it or rename over it; an exclusive
// hold (an editor's lock) lets nobody else open it at all. The file is open when the constructor
// returns (opened() says whether that worked) and is let go after `hold` or when the object
// goes, whichever comes first.
class FileHolder {
 public:
  enum class Sharing { ReadAndWrite, Nothing, Everything };
  FileHolder(std::filesystem::path path, std::chrono::milliseconds hold, Sharing sharing = Sharing::ReadAndWrite);
  ~FileHolder();
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;

  [[nodiscard]] bool opened() const noexcept { return opened_; }

 private:
  UniqueHandle let_go_;  // an event: set, the holder closes the file at once
  std::thread holder_;
  bool opened_ = false;
};

// The system's temporary folder (GetTempPathW).
std::filesystem::path system_temp_folder();

// The whole file, byte for byte; nothing when it cannot be opened.
std::optional<std::string> read_bytes(const std::filesystem::path& path);
// Replaces the file's content with `bytes`.
void write_bytes(const std::filesystem::path& path, std::string_view bytes);
// Removes a file or a folder with everything in it, read-only entries included.
void remove_everything(const std::filesystem::path& path);

}  // namespace vessa::test
