// The tray icon's size and tip, and the context menu's item identifiers.
#include <gtest/gtest.h>

#include <string>

#include "app/tray_icon_rules.hpp"

namespace vessa {
namespace {

TEST(TrayIconRules, SmallIconMetricsBelowNineBecomeEight) {
  EXPECT_EQ(tray_icon_side(-1), 8);
  EXPECT_EQ(tray_icon_side(0), 8);
  EXPECT_EQ(tray_icon_side(8), 8);
  EXPECT_EQ(tray_icon_side(9), 9);
  EXPECT_EQ(tray_icon_side(16), 16);
  EXPECT_EQ(tray_icon_side(24), 24);
}

TEST(TrayIconRules, TipIsCutTo127Utf16Units) {
  EXPECT_EQ(tray_tip_text("VESSA"), u"VESSA");
  EXPECT_EQ(tray_tip_text(std::string(127, 'a')), std::u16string(127, u'a'));
  EXPECT_EQ(tray_tip_text(std::string(300, 'a')), std::u16string(127, u'a'));
  // Three-byte UTF-8, one unit each.
  std::string japanese;
  for (int i = 0; i < 130; ++i) japanese += "表";
  EXPECT_EQ(tray_tip_text(japanese), std::u16string(127, u'表'));
}

TEST(TrayIconRules, TipCutNeverLeavesHalfASurrogatePair) {
  // 126 letters and then a character outside the basic plane: its pair would straddle the cut.
  const std::u16string cut = tray_tip_text(std::string(126, 'a') + "\xF0\x9F\x98\x80" + "b");
  EXPECT_EQ(cut, std::u16string(126, u'a'));
  const std::u16string whole = tray_tip_text(std::string(125, 'a') + "\xF0\x9F\x98\x80" + "b");
  EXPECT_EQ(whole.size(), 127u);
  EXPECT_EQ(whole.substr(125), u"\U0001F600");
}

TEST(TrayMenu, ItemIdentifiersOneToFourAreTheFourCommands) {
  EXPECT_EQ(menu_command_from_id(0), std::nullopt);  // dismissed
  EXPECT_EQ(menu_command_from_id(1), MenuCommand::Show);
  EXPECT_EQ(menu_command_from_id(2), MenuCommand::Settings);
  EXPECT_EQ(menu_command_from_id(3), MenuCommand::Reattach);
  EXPECT_EQ(menu_command_from_id(4), MenuCommand::Exit);
  EXPECT_EQ(menu_command_from_id(5), std::nullopt);
  EXPECT_EQ(menu_command_from_id(-1), std::nullopt);
  for (const MenuCommand command : {MenuCommand::Show, MenuCommand::Settings, MenuCommand::Reattach, MenuCommand::Exit}) {
    EXPECT_EQ(menu_command_from_id(menu_item_id(command)), command);
  }
}

}  // namespace
}  // namespace vessa
