#pragma once
// One registry value of HKEY_CURRENT_USER for the length of a test.

#include <windows.h>

#include <optional>

namespace vessa::test {

inline constexpr wchar_t kPersonalizeKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// Remembers the value's DWORD (or its absence) and puts it back when the guard goes; Wine's
// prefix has none of the theme values, so most tests end by removing what they set.
class RegistryValue {
 public:
  RegistryValue(const wchar_t* key, const wchar_t* name);
  ~RegistryValue();
  RegistryValue(const RegistryValue&) = delete;
  RegistryValue& operator=(const RegistryValue&) = delete;

  void set(DWORD value) const;
  void set_text(const wchar_t* text) const;
  // `value` as a DWORD, or no value at all.
  void set(std::optional<DWORD> value) const;
  void remove() const;

 private:
  const wchar_t* key_;
  const wchar_t* name_;
  std::optional<DWORD> saved_;
};

}  // namespace vessa::test
