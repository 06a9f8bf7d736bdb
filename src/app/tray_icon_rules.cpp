#include "app/tray_icon_rules.hpp"

#include "base/utf.hpp"

namespace vessa {
namespace {

// At most `units` UTF-16 units of `wide`, never half a surrogate pair.
std::u16string cut(std::u16string wide, std::size_t units) {
  if (wide.size() <= units) return wide;
  wide.resize(units);
  const char16_t last = wide.empty() ? u'\0' : wide.back();
  if (last >= 0xD800 && last <= 0xDBFF) wide.pop_back();
  return wide;
}

}  // namespace

std::u16string tray_tip_text(std::string_view tip) { return cut(utf8_to_utf16_lossy(tip), kMaxTipUnits); }

std::u16string balloon_title(std::string_view title) {
  return cut(utf8_to_utf16_lossy(title), kMaxBalloonTitleUnits);
}

std::u16string balloon_text(std::string_view lead, std::string_view tail) {
  const std::u16string end = cut(utf8_to_utf16_lossy(tail), kMaxBalloonTextUnits);
  const std::size_t room = kMaxBalloonTextUnits - end.size();
  std::u16string start = utf8_to_utf16_lossy(lead);
  if (start.size() > room) start = room == 0 ? std::u16string() : cut(std::move(start), room - 1) + u"\u2026";
  return start + end;
}

}  // namespace vessa
