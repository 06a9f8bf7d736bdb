#pragma once
// The plain-value rules behind the notification-area icon and its context menu: the icon's
// size, the tip and balloon texts as the shell takes them, and the menu's commands. (Its colour follows the
// taskbar's theme: tray_icon_color_for in config/colors.hpp.)

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vessa {

// The context menu's commands, in menu order. Menu item identifiers are the number plus one.
enum class MenuCommand : int { Show = 0, Settings = 1, Reattach = 2, Exit = 3 };

// The menu item identifier of a command, and the command of an identifier (0, a dismissed
// menu, and anything unknown give none).
[[nodiscard]] constexpr unsigned menu_item_id(MenuCommand command) noexcept {
  return static_cast<unsigned>(command) + 1u;
}
[[nodiscard]] constexpr std::optional<MenuCommand> menu_command_from_id(std::int64_t id) noexcept {
  if (id < 1 || id > 4) return std::nullopt;
  return static_cast<MenuCommand>(id - 1);
}

// The icon's side from the system's small-icon metric: values below 9 become 8.
[[nodiscard]] constexpr std::int32_t tray_icon_side(std::int32_t metric) noexcept { return metric < 9 ? 8 : metric; }

// The shell keeps at most this many UTF-16 units of a tip (its 128-unit field keeps a zero).
inline constexpr std::size_t kMaxTipUnits = 127;

// The tip in UTF-16, cut to at most 127 units. A surrogate pair is never split: when the cut
// would fall inside one, the lone high surrogate is dropped as well.
[[nodiscard]] std::u16string tray_tip_text(std::string_view tip);

// A balloon's title and text fields hold 64 and 256 units, each with its terminating zero.
inline constexpr std::size_t kMaxBalloonTitleUnits = 63;
inline constexpr std::size_t kMaxBalloonTextUnits = 255;

// A balloon's title, cut as a tip is.
[[nodiscard]] std::u16string balloon_title(std::string_view title);
// A balloon's text: `lead`, then `tail` (a path the user needs whole). When both do not fit in
// 255 units, the lead is shortened and ends in "…"; the tail is cut only when it alone is too long.
[[nodiscard]] std::u16string balloon_text(std::string_view lead, std::string_view tail);

}  // namespace vessa
