#include "base/known_folder_win.hpp"

#include <shlobj.h>

#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"
#include "base/win_error_win.hpp"

namespace vessa {

Result<std::filesystem::path> known_folder_path(const GUID& folder, const std::string& message) {
  UniqueCoTaskString text;  // the caller's to free even when the call fails
  const HRESULT hr = SHGetKnownFolderPath(folder, 0, nullptr, text.put());
  if (FAILED(hr)) return Error(message, hresult_error(hr));
  const std::wstring path = text ? std::wstring(text.get()) : std::wstring();
  if (path.empty() || !narrow_strict(path)) return Error(message);
  return std::filesystem::path(path);
}

}  // namespace vessa
