#include "app/tray_icon_rules.hpp"

#include "base/utf.hpp"

namespace vessa {

std::u16string tray_tip_text(std::string_view tip) {
  std::u16string wide = utf8_to_utf16_lossy(tip);
  if (wide.size() <= kMaxTipUnits) return wide;
  wide.resize(kMaxTipUnits);
  const char16_t last = wide.back();
  if (last >= 0xD800 && last <= 0xDBFF) wide.pop_back();
  return wide;
}

}  // namespace vessa
