#include "config/config_location_win.hpp"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <string>

#include "base/debug_output.hpp"
#include "base/wide_win.hpp"
#include "base/win_error_win.hpp"

namespace vessa {

Result<std::filesystem::path> config_path() {
  constexpr char kMessage[] = "設定ディレクトリを特定できません";
  wchar_t* folder = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder);
  // The buffer is the caller's to free even when the call fails.
  const std::wstring text = SUCCEEDED(hr) && folder != nullptr ? std::wstring(folder) : std::wstring();
  CoTaskMemFree(folder);
  if (FAILED(hr)) return Error(kMessage, hresult_error(hr));
  if (text.empty() || !narrow_strict(text)) return Error(kMessage);
  return std::filesystem::path(text) / L"vessa" / L"config.toml";
}

std::optional<std::filesystem::path> portable_config_path() {
  std::wstring buffer(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 32768) return std::nullopt;  // longer than any Windows path
    buffer.resize(buffer.size() * 2);
  }
  const std::filesystem::path folder = std::filesystem::path(buffer).parent_path();
  if (folder.empty()) return std::nullopt;
  return folder / L"config.toml";
}

Result<StartupConfig> load_startup_config() {
  Result<StartupConfig> startup = open_startup_config(ConfigCandidates{portable_config_path(), config_path()});
  if (startup) {
    for (const std::string& line : startup->diagnostics) debug::line(line);
  }
  return startup;
}

}  // namespace vessa
