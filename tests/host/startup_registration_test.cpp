#include <gtest/gtest.h>

#include "startup/startup_registration.hpp"

namespace vessa {
namespace {

TEST(StartWithWindowsState, ShortcutAndApprovalValueDecideTheBox) {
  using Bytes = std::vector<std::uint8_t>;
  const struct {
    const char* name;
    bool shortcut_exists;
    ApprovalValue approval;
    bool checked;
  } cases[] = {
      {"no shortcut", false, {ApprovalRead::absent, {}}, false},
      {"no shortcut, approval enabled", false, {ApprovalRead::bytes, Bytes{2}}, false},
      {"approval absent", true, {ApprovalRead::absent, {}}, true},
      {"first byte 2 (enabled)", true, {ApprovalRead::bytes, Bytes{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}, true},
      {"first byte 3 (disabled)", true, {ApprovalRead::bytes, Bytes{3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}, false},
      {"first byte 1, one byte", true, {ApprovalRead::bytes, Bytes{1}}, false},
      {"first byte 0xFF", true, {ApprovalRead::bytes, Bytes{0xFF, 2}}, false},
      {"empty value", true, {ApprovalRead::bytes, Bytes{}}, true},
      {"too long", true, {ApprovalRead::too_long, {}}, true},
      {"more than 12 bytes handed over", true, {ApprovalRead::bytes, Bytes(13, 3)}, true},
      {"not binary", true, {ApprovalRead::wrong_type, {}}, true},
      {"unreadable", true, {ApprovalRead::unreadable, {}}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(start_with_windows_state_from(c.shortcut_exists, c.approval), c.checked) << c.name;
  }
}

}  // namespace
}  // namespace vessa
