#include "config/colors.hpp"

namespace vessa {

ResolvedColors resolve_colors(const Appearance& appearance, bool /*dark_taskbar*/) {
  // The standard set; the family and custom schemes come with the colour rules.
  ResolvedColors colors;
  colors.cpu = rgb_hex(0x47A8D8);
  colors.memory = rgb_hex(0x3B5FB0);
  colors.disk = rgb_hex(0x93C13D);
  colors.gpu = rgb_hex(0xA05FC0);
  colors.net_rx = rgb_hex(0xD6538A);
  colors.net_tx = rgb_hex(0x8F385C);
  colors.net_overlap = rgb_hex(0xEFA6C6);
  colors.lamp_read = appearance.disk_lamp_read_color;
  colors.lamp_write = appearance.disk_lamp_write_color;
  colors.lamp_both = appearance.disk_lamp_both_color;
  return colors;
}

}  // namespace vessa
