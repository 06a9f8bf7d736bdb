#pragma once
// Files and folders of a test: a fresh temporary folder and whole-file reads and writes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

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

// The system's temporary folder (GetTempPathW).
std::filesystem::path system_temp_folder();

// The whole file, byte for byte; nothing when it cannot be opened.
std::optional<std::string> read_bytes(const std::filesystem::path& path);
// Replaces the file's content with `bytes`.
void write_bytes(const std::filesystem::path& path, std::string_view bytes);
// Removes a file or a folder with everything in it, read-only entries included.
void remove_everything(const std::filesystem::path& path);

}  // namespace vessa::test
