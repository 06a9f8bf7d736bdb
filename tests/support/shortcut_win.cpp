#include "shortcut_win.hpp"

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <vector>

#include "base/unique_handle_win.hpp"

namespace vessa::test {
namespace {

ComPtr<IShellLinkW> create_link() {
  static_cast<void>(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()))) {
    return {};
  }
  return link;
}

}  // namespace

std::optional<ShortcutFields> read_shortcut(const std::filesystem::path& path) {
  const ComPtr<IShellLinkW> link = create_link();
  ComPtr<IPersistFile> file;
  if (!link || FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) ||
      FAILED(file->Load(path.c_str(), STGM_READ))) {
    return std::nullopt;
  }
  std::vector<wchar_t> buffer(32768, L'\0');
  const int size = static_cast<int>(buffer.size());
  ShortcutFields fields;
  WIN32_FIND_DATAW found{};
  if (FAILED(link->GetPath(buffer.data(), size, &found, SLGP_RAWPATH))) return std::nullopt;
  fields.target = buffer.data();
  buffer.assign(buffer.size(), L'\0');
  if (FAILED(link->GetWorkingDirectory(buffer.data(), size))) return std::nullopt;
  fields.working_directory = buffer.data();
  buffer.assign(buffer.size(), L'\0');
  if (FAILED(link->GetDescription(buffer.data(), size))) return std::nullopt;
  fields.description = buffer.data();
  return fields;
}

bool write_shortcut(const std::filesystem::path& path, const std::filesystem::path& target) {
  const ComPtr<IShellLinkW> link = create_link();
  ComPtr<IPersistFile> file;
  return link && SUCCEEDED(link->SetPath(target.c_str())) &&
         SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.put_void())) &&
         SUCCEEDED(file->Save(path.c_str(), TRUE));
}

}  // namespace vessa::test
