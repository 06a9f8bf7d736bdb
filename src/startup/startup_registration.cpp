#include "startup/startup_registration.hpp"

namespace vessa {

bool start_with_windows_state_from(bool shortcut_exists, const ApprovalValue& approval) noexcept {
  if (!shortcut_exists) return false;
  // A value Windows could not hand over whole counts as a failed read, like an absent one.
  if (approval.read != ApprovalRead::bytes || approval.bytes.size() > kApprovalValueMaxBytes) return true;
  return approval.bytes.empty() || approval.bytes.front() % 2 == 0;
}

std::string registration_failure_line(bool enable, const Error& error) {
  return (enable ? "スタートアップの登録に失敗: " : "スタートアップの登録解除に失敗: ") + error.full_text();
}

}  // namespace vessa
