#include "startup/startup_registration_win.hpp"

#include <windows.h>
#include <knownfolders.h>
#include <objidl.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <utility>

#include "base/debug_output.hpp"
#include "base/known_folder_win.hpp"
#include "base/executable_path_win.hpp"
#include "base/path_text.hpp"
#include "base/result.hpp"
#include "base/unique_handle_win.hpp"
#include "base/wide_win.hpp"
#include "base/win_error_win.hpp"
#include "startup/startup_registration.hpp"

namespace vessa {
namespace {

constexpr wchar_t kShortcutName[] = L"VESSA.lnk";
constexpr wchar_t kShortcutDescription[] = L"VESSA";
// Older versions registered through the Run key; that value is never written, only removed.
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"VESSA";
// Windows' record of the user enabling or disabling a Startup-folder item, named for its file.
constexpr wchar_t kApprovalKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

Result<std::filesystem::path> locate_shortcut() {
  Result<std::filesystem::path> folder = known_folder_path(FOLDERID_Startup, "スタートアップ フォルダーを特定できません");
  if (!folder) return folder.error();
  return *folder / kShortcutName;
}

// "Exists" means its metadata can be read, whatever it is.
bool shortcut_exists(const std::filesystem::path& shortcut) {
  return GetFileAttributesW(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES;
}

ApprovalValue read_approval_value() {
  ApprovalValue value;
  value.bytes.resize(kApprovalValueMaxBytes);
  DWORD size = static_cast<DWORD>(value.bytes.size());
  const LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, kApprovalKey, kShortcutName, RRF_RT_REG_BINARY, nullptr,
                                      value.bytes.data(), &size);
  switch (status) {
    case ERROR_SUCCESS:
      value.read = ApprovalRead::bytes;
      value.bytes.resize(std::min<std::size_t>(size, value.bytes.size()));
      return value;
    case ERROR_FILE_NOT_FOUND:
      value.read = ApprovalRead::absent;
      break;
    case ERROR_UNSUPPORTED_TYPE:
      value.read = ApprovalRead::wrong_type;
      break;
    case ERROR_MORE_DATA:
      value.read = ApprovalRead::too_long;
      break;
    default:
      value.read = ApprovalRead::unreadable;
      break;
  }
  value.bytes.clear();
  return value;
}

// Deletes a value of the current user's; a key or value that is not there is nothing to do.
Status delete_user_value(const wchar_t* key_path, const wchar_t* name, std::string failure) {
  UniqueHkey key;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, key_path, 0, KEY_READ | KEY_SET_VALUE, key.put());
  if (status == ERROR_SUCCESS) status = RegDeleteValueW(key.get(), name);
  if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return {};
  return Error(std::move(failure), win32_error(static_cast<DWORD>(status)));
}

Status delete_shortcut(const std::filesystem::path& shortcut) {
  if (!shortcut_exists(shortcut) || DeleteFileW(shortcut.c_str())) return {};
  const DWORD code = GetLastError();
  return Error("ショートカットを削除できません: " + path_to_utf8(shortcut), win32_error(code));
}

// Writes the shortcut to the running executable, overwriting one of that name. The interfaces
// are released on return, before anything else happens.
Status save_shortcut(const std::filesystem::path& shortcut) {
  Result<std::filesystem::path> exe = executable_path();
  if (!exe) return exe.error();
  const std::wstring target = exe->native();
  const std::wstring folder = exe->parent_path().native();  // empty when the path has no parent

  // An apartment the thread already has serves as well, so the result does not matter; the
  // apartment is never left, as the settings window may use COM on this thread again.
  static_cast<void>(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

  ComPtr<IShellLinkW> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void());
  if (FAILED(hr)) return Error("ショートカットを作成できません", hresult_error(hr));
  hr = link->SetPath(target.c_str());
  if (FAILED(hr)) return Error("ショートカットの対象を設定できません: " + path_to_utf8(*exe), hresult_error(hr));
  hr = link->SetWorkingDirectory(folder.c_str());
  if (FAILED(hr)) return Error("ショートカットの作業フォルダーを設定できません: " + narrow(folder), hresult_error(hr));
  hr = link->SetDescription(kShortcutDescription);
  if (FAILED(hr)) return Error("ショートカットの説明を設定できません", hresult_error(hr));

  const std::string save_failure = "ショートカットを保存できません: " + path_to_utf8(shortcut);
  ComPtr<IPersistFile> file;
  hr = link->QueryInterface(IID_IPersistFile, file.put_void());
  if (FAILED(hr)) return Error(save_failure, hresult_error(hr));
  hr = file->Save(shortcut.c_str(), TRUE);
  if (FAILED(hr)) return Error(save_failure, hresult_error(hr));
  return {};
}

}  // namespace

std::optional<std::filesystem::path> startup_shortcut_path() {
  Result<std::filesystem::path> shortcut = locate_shortcut();
  if (!shortcut) return std::nullopt;
  return std::move(shortcut).value();
}

bool start_with_windows_state() {
  const std::optional<std::filesystem::path> shortcut = startup_shortcut_path();
  const bool exists = shortcut && shortcut_exists(*shortcut);
  // Without a shortcut the approval value does not matter and is not read.
  return start_with_windows_state_from(exists, exists ? read_approval_value() : ApprovalValue{});
}

void set_start_with_windows(bool enable) {
  // Silent for the user: a registration that did not take shows as an unchecked box the next
  // time the settings window opens. --debug names the step that failed.
  const auto report = [enable](const Error& error) { debug::line(registration_failure_line(enable, error)); };

  if (const Status run = delete_user_value(kRunKey, kRunValue, "Run の値 \"VESSA\" を削除できません"); !run) {
    report(run.error());
  }
  const Result<std::filesystem::path> shortcut = locate_shortcut();
  if (!shortcut) {
    report(shortcut.error());
    return;
  }
  if (!enable) {
    // The approval value stays: it is the user's choice in Windows, for a later registration.
    if (const Status deleted = delete_shortcut(*shortcut); !deleted) report(deleted.error());
    return;
  }
  if (const Status saved = save_shortcut(*shortcut); !saved) {
    report(saved.error());
    return;  // a start-up item the user disabled stays disabled until a shortcut is in place
  }
  // A start-up item the user had disabled in Windows becomes active again.
  if (const Status approved =
          delete_user_value(kApprovalKey, kShortcutName, "StartupApproved の値 \"VESSA.lnk\" を削除できません");
      !approved) {
    report(approved.error());
  }
}

}  // namespace vessa
