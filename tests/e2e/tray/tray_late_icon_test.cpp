// The tray icon as the shell sees it: one a busy shell refused at start-up is added at a later
// reattach check, and a configuration reset at start-up is told from the icon. A fake taskbar
// plays the shell: Shell_NotifyIconW's requests come to it, and it answers them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "base/path_text.hpp"
#include "fake_taskbar_win.hpp"
#include "tray_support.hpp"

namespace vessa::test {
namespace {

constexpr RECT kTaskbar{0, 760, 1280, 800};

// Each request's NIM code and the taskbar's answer, in order.
using Answered = std::vector<std::pair<DWORD, bool>>;

TEST(Plain_TrayIcon, AnIconTheShellRefusedAtStartUpIsAddedAtALaterReattachCheck) {
  FakeTaskbar taskbar(kTaskbar);
  Answered answered;
  UINT version = 0;
  taskbar.answer_icon_requests([&](const IconRequest& request) {
    const bool accepted = !answered.empty();  // busy at the first request only
    answered.emplace_back(request.message, accepted);
    if (request.message == NIM_SETVERSION) version = request.version;
    return accepted;
  });
  RunningVessa vessa("[behavior]\nreattach_check_ms = 300\n");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  ASSERT_TRUE(wait_until([&] { return answered.size() >= 3; })) << ::testing::PrintToString(answered);
  wait_until([] { return false; }, 1500ms);  // more checks: an icon the shell holds is not added again
  EXPECT_EQ(answered, (Answered{{NIM_ADD, false}, {NIM_ADD, true}, {NIM_SETVERSION, true}}));
  EXPECT_EQ(version, UINT{NOTIFYICON_VERSION_4});

  EXPECT_TRUE(vessa.closes_with_zero());
  EXPECT_EQ(answered.back(), (std::pair<DWORD, bool>{NIM_DELETE, true})) << "the icon stayed after the exit";
}

TEST(Plain_TrayIcon, AConfigurationResetAtStartUpIsToldFromTheIcon) {
  FakeTaskbar taskbar(kTaskbar);
  std::vector<IconRequest> requests;
  taskbar.answer_icon_requests([&](const IconRequest& request) {
    requests.push_back(request);
    return true;
  });
  const VessaFolder folder;
  folder.write_config("[general]\nupdate_interval_ms = \"fast\"\n");
  RunningVessa vessa(folder, L"");
  ASSERT_NE(vessa.bar, nullptr) << vessa.report();
  ASSERT_TRUE(wait_until([&] { return requests.size() >= 3; })) << vessa.report();

  const IconRequest& notice = requests[2];  // after NIM_ADD and NIM_SETVERSION
  EXPECT_EQ(notice.message, DWORD{NIM_MODIFY});
  EXPECT_EQ(notice.flags, UINT{NIF_INFO});
  const TextTable& texts = auto_texts();
  EXPECT_EQ(utf8(notice.info_title), texts.text(TextId::ConfigResetTitle));
  EXPECT_EQ(utf8(notice.info), std::string(texts.text(TextId::ConfigResetError)) +
                                   "general.update_interval_ms: expected an unsigned 32-bit integer, found a string" +
                                   std::string(texts.text(TextId::ConfigResetKept)) +
                                   path_to_utf8(folder.config()) + ".broken");
  EXPECT_TRUE(vessa.closes_with_zero());
}

}  // namespace
}  // namespace vessa::test
