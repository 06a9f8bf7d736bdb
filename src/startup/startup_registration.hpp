#pragma once
// Start with Windows, the decisions without Windows: whether the settings window's box starts
// checked, from what the file system and the registry hold, and the diagnostic line a failed
// step writes. The Win32 side (startup_registration_win.hpp) reads those facts and calls these.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/error.hpp"

namespace vessa {

// Windows keeps the user's enabled / disabled choice for a start-up item in a binary value
// of at most this many bytes.
inline constexpr std::size_t kApprovalValueMaxBytes = 12;

// What reading the approval value gave.
enum class ApprovalRead {
  bytes,       // read; the bytes are in ApprovalValue::bytes
  absent,      // no such value (or no such key)
  wrong_type,  // a value that is not binary
  too_long,    // binary but longer than kApprovalValueMaxBytes
  unreadable,  // any other failure to read it
};

struct ApprovalValue {
  ApprovalRead read = ApprovalRead::absent;
  std::vector<std::uint8_t> bytes;  // only for ApprovalRead::bytes
};

// Registered means the shortcut exists and Windows has not disabled it: an approval value that
// cannot be read does not disable it, an empty one or one whose first byte is even leaves it
// enabled, an odd first byte disables it.
[[nodiscard]] bool start_with_windows_state_from(bool shortcut_exists, const ApprovalValue& approval) noexcept;

// The one diagnostic line of a failed step of registering (`enable`) or unregistering:
// "スタートアップの登録に失敗: <the error in full>" or "スタートアップの登録解除に失敗: …".
[[nodiscard]] std::string registration_failure_line(bool enable, const Error& error);

}  // namespace vessa
