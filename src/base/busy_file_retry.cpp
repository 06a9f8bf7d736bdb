#include "base/busy_file_retry.hpp"

#include <array>

namespace vessa {
namespace {

// The Win32 codes a brief hold by another program produces. Access denied is not among them: a
// read-only file or a folder the user may not write stays so, and waiting only freezes the window.
constexpr std::uint32_t kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr std::uint32_t kLockViolation = 33;     // ERROR_LOCK_VIOLATION

// 450 ms in all: eight tries.
constexpr std::array<std::uint32_t, 7> kWaitsMs{10, 20, 40, 80, 100, 100, 100};

}  // namespace

std::optional<std::uint32_t> busy_file_retry_wait_ms(std::uint32_t win32_error, std::uint32_t failed_tries) noexcept {
  const bool held_by_another_program =
      win32_error == kSharingViolation || win32_error == kLockViolation;
  if (!held_by_another_program || failed_tries == 0 || failed_tries > kWaitsMs.size()) return std::nullopt;
  return kWaitsMs[failed_tries - 1];
}

}  // namespace vessa
