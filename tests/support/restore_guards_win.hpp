#pragma once
// Guards that put what a test changes in the Wine prefix back as it was: one registry value of
// the current user, one file. A test writes through them (or through the code under test)
// and the guard restores the old state when it goes, whatever the test left there.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vessa::test {

inline constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// A registry value's type and bytes.
struct RegistryData {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> bytes;

  friend bool operator==(const RegistryData&, const RegistryData&) = default;
};
// "REG_BINARY 03 00 10", for failure messages.
void PrintTo(const RegistryData& data, std::ostream* out);

// One value under HKEY_CURRENT_USER. When the guard goes, the value is written back with its
// old type and bytes, or removed when there was none; keys that did not exist at the start are
// removed again when they are left empty. A write that fails is a test failure.
class RegistryValueGuard {
 public:
  RegistryValueGuard(std::wstring key, std::wstring name);
  ~RegistryValueGuard();
  RegistryValueGuard(const RegistryValueGuard&) = delete;
  RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

  void set(const RegistryData& data) const;
  void set_binary(const std::vector<std::uint8_t>& bytes) const { set({REG_BINARY, bytes}); }
  void set_dword(DWORD value) const;
  // `value` as a DWORD, or no value at all.
  void set(std::optional<DWORD> value) const {
    if (value) {
      set_dword(*value);
    } else {
      remove();
    }
  }
  void set_text(const std::wstring& text) const;
  void remove() const;
  // The value as it is now; none when there is no such value.
  [[nodiscard]] std::optional<RegistryData> read() const;

 private:
  std::wstring key_;
  std::wstring name_;
  std::optional<RegistryData> saved_;
  std::vector<std::wstring> created_keys_;  // outermost first
};

// One file. When the guard goes, whatever the test left at the path (a file or a folder) is
// removed and the old file's bytes written back; parent folders that were missing at the start
// are created at once and removed again.
class FileGuard {
 public:
  explicit FileGuard(std::filesystem::path path);
  ~FileGuard();
  FileGuard(const FileGuard&) = delete;
  FileGuard& operator=(const FileGuard&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const noexcept { return path_; }
  void write(const std::string& bytes) const;
  void remove() const;

 private:
  std::filesystem::path path_;
  std::optional<std::string> saved_;
  std::filesystem::path created_folder_;  // the outermost folder the guard created, if any
};

}  // namespace vessa::test
