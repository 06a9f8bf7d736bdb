// The clock search of secondary taskbars: the UI Automation interfaces it declares itself sit
// in their published vtable slots, and where UI Automation is missing or cannot be bounded
// (Wine) the taskbar's TrayNotifyWnd stands in.
#include <windows.h>

#include <gtest/gtest.h>

#include "failure_code_win.hpp"
#include "fake_taskbar_win.hpp"
#include "render/clock_search_win.hpp"
#include "render/uia_client_win.hpp"
#include "vtable_slot_win.hpp"

namespace vessa {
namespace {

using test::vtable_slot;

// The slots as Microsoft publishes the interfaces (IUnknown's three first).
TEST(Plain_ClockSearch, CalledAutomationMethodsSitInTheirPublishedSlots) {
  EXPECT_EQ(vtable_slot(&uia::IUIAutomation::ElementFromHandle), 6u);
  EXPECT_EQ(vtable_slot(&uia::IUIAutomation::CreatePropertyCondition), 23u);
  EXPECT_EQ(vtable_slot(&uia::IUIAutomation::ElementFromIAccessibleBuildCache), 57u);  // the last
  EXPECT_EQ(vtable_slot(&uia::IUIAutomation2::put_ConnectionTimeout), 61u);
  EXPECT_EQ(vtable_slot(&uia::IUIAutomation2::put_TransactionTimeout), 63u);
  EXPECT_EQ(vtable_slot(&uia::IUIAutomationElement::FindAll), 6u);
  EXPECT_EQ(vtable_slot(&uia::IUIAutomationElement::get_CurrentBoundingRectangle), 43u);
  EXPECT_EQ(vtable_slot(&uia::IUIAutomationElementArray::get_Length), 3u);
  EXPECT_EQ(vtable_slot(&uia::IUIAutomationElementArray::GetElement), 4u);
}

TEST(Plain_ClockSearch, WithoutUiAutomationTheNotificationAreaStandsIn) {
  const RECT tray{600, 0, 700, 30};
  const test::FakeTaskbar with_tray(RECT{0, 0, 1280, 30}, tray, test::FakeTaskbar::Kind::Secondary);
  const test::FakeTaskbar without_tray(RECT{0, 40, 1280, 70}, std::nullopt, test::FakeTaskbar::Kind::Secondary);

  // Without bounded UI Automation (Wine 8 has no CUIAutomation, Wine 10 no IUIAutomation2) the
  // search fails and names the failed call's code.
  const Result<std::optional<RECT>> automated = clock_area_by_automation(with_tray.window());
  ASSERT_FALSE(automated.ok());
  EXPECT_TRUE(test::ends_with_failure_code(automated.error().full_text())) << automated.error().full_text();

  const std::optional<RECT> area = find_clock_area(with_tray.window());
  ASSERT_TRUE(area.has_value());
  EXPECT_TRUE(EqualRect(&*area, &tray));
  EXPECT_FALSE(find_clock_area(without_tray.window()).has_value());
}

}  // namespace
}  // namespace vessa
