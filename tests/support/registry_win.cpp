#include "registry_win.hpp"

#include <cwchar>

namespace vessa::test {

RegistryValue::RegistryValue(const wchar_t* key, const wchar_t* name) : key_(key), name_(name) {
  DWORD data = 0;
  DWORD size = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, key_, name_, RRF_RT_REG_DWORD, nullptr, &data, &size) == ERROR_SUCCESS) {
    saved_ = data;
  }
}

RegistryValue::~RegistryValue() { set(saved_); }

void RegistryValue::set(DWORD value) const {
  RegSetKeyValueW(HKEY_CURRENT_USER, key_, name_, REG_DWORD, &value, sizeof(value));
}

void RegistryValue::set(std::optional<DWORD> value) const {
  if (value) {
    set(*value);
  } else {
    remove();
  }
}

void RegistryValue::set_text(const wchar_t* text) const {
  RegSetKeyValueW(HKEY_CURRENT_USER, key_, name_, REG_SZ, text, static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
}

void RegistryValue::remove() const { RegDeleteKeyValueW(HKEY_CURRENT_USER, key_, name_); }

}  // namespace vessa::test
