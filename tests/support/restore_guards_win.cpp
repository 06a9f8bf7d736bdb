#include "restore_guards_win.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

#include "base/wide_win.hpp"
#include "base/win_error_win.hpp"

namespace vessa::test {
namespace {

bool key_exists(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

bool key_is_empty(const std::wstring& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  DWORD subkeys = 1;
  DWORD values = 1;
  const LSTATUS status = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                                          nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

std::string describe(const std::wstring& key, const std::wstring& name) { return narrow(key) + " / " + narrow(name); }

}  // namespace

void PrintTo(const RegistryData& data, std::ostream* out) {
  switch (data.type) {
    case REG_BINARY: *out << "REG_BINARY"; break;
    case REG_DWORD: *out << "REG_DWORD"; break;
    case REG_SZ: *out << "REG_SZ"; break;
    default: *out << "type " << data.type; break;
  }
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (const std::uint8_t byte : data.bytes) *out << ' ' << kDigits[byte >> 4] << kDigits[byte & 15];
}

// --- RegistryValueGuard ------------------------------------------------------------------

RegistryValueGuard::RegistryValueGuard(std::wstring key, std::wstring name)
    : key_(std::move(key)), name_(std::move(name)), saved_(read()) {
  for (std::size_t end = key_.find(L'\\'); ; end = key_.find(L'\\', end + 1)) {
    std::wstring prefix = key_.substr(0, end);
    if (!key_exists(prefix)) created_keys_.push_back(std::move(prefix));
    if (end == std::wstring::npos) break;
  }
}

RegistryValueGuard::~RegistryValueGuard() {
  if (saved_) {
    set(*saved_);
  } else {
    remove();
  }
  for (auto key = created_keys_.rbegin(); key != created_keys_.rend(); ++key) {
    if (key_is_empty(*key)) RegDeleteKeyW(HKEY_CURRENT_USER, key->c_str());
  }
}

void RegistryValueGuard::set(const RegistryData& data) const {
  const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), data.type, data.bytes.data(),
                                         static_cast<DWORD>(data.bytes.size()));
  if (status != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot write " << describe(key_, name_) << ": "
                  << win32_error(static_cast<DWORD>(status)).message();
  }
}

void RegistryValueGuard::set_dword(DWORD value) const {
  RegistryData data{REG_DWORD, std::vector<std::uint8_t>(sizeof(value))};
  std::memcpy(data.bytes.data(), &value, sizeof(value));
  set(data);
}

void RegistryValueGuard::set_text(const std::wstring& text) const {
  RegistryData data{REG_SZ, std::vector<std::uint8_t>((text.size() + 1) * sizeof(wchar_t))};
  std::memcpy(data.bytes.data(), text.c_str(), data.bytes.size());
  set(data);
}

void RegistryValueGuard::remove() const {
  const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    ADD_FAILURE() << "cannot delete " << describe(key_, name_) << ": "
                  << win32_error(static_cast<DWORD>(status)).message();
  }
}

std::optional<RegistryData> RegistryValueGuard::read() const {
  constexpr DWORD kFlags = RRF_RT_ANY | RRF_NOEXPAND;
  RegistryData data;
  DWORD size = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), kFlags, &data.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.bytes.resize(size);
  if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), kFlags, &data.type, data.bytes.data(), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.bytes.resize(size);
  return data;
}

// --- FileGuard ---------------------------------------------------------------------------

FileGuard::FileGuard(std::filesystem::path path) : path_(std::move(path)) {
  std::error_code error;
  if (std::filesystem::is_regular_file(path_, error)) {
    std::ifstream file(path_, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    saved_ = bytes.str();
  } else if (std::filesystem::exists(path_, error)) {
    ADD_FAILURE() << "not a file: " << narrow(path_.native());
  }
  for (auto folder = path_.parent_path(); !folder.empty() && !std::filesystem::exists(folder, error);
       folder = folder.parent_path()) {
    created_folder_ = folder;
    if (folder == folder.parent_path()) break;
  }
  std::filesystem::create_directories(path_.parent_path(), error);
}

FileGuard::~FileGuard() {
  remove();
  if (saved_) write(*saved_);
  std::error_code ignored;
  if (!created_folder_.empty()) std::filesystem::remove_all(created_folder_, ignored);
}

void FileGuard::write(const std::string& bytes) const {
  std::ofstream file(path_, std::ios::binary | std::ios::trunc);
  file << bytes;
  if (!file.flush()) ADD_FAILURE() << "cannot write " << narrow(path_.native());
}

void FileGuard::remove() const {
  std::error_code error;
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(path_, error);
  if (error) ADD_FAILURE() << "cannot remove " << narrow(path_.native()) << ": " << error.message();
}

}  // namespace vessa::test
