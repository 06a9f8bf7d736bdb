#include "config/rgb.hpp"

namespace vessa {

std::string format_color(Rgb color) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text = "#";
  for (const std::uint8_t channel : {color.r, color.g, color.b}) {
    text += digits[channel >> 4];
    text += digits[channel & 0xF];
  }
  return text;
}

}  // namespace vessa
