#include "base/system_error.hpp"

#include <array>

namespace vessa {

std::string hex_code(std::uint32_t code) {
  static constexpr std::array<char, 16> digits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                  '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::string text = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += digits[(code >> shift) & 0xFu];
  return text;
}

std::string system_error_text(std::string_view system_text, std::uint32_t hresult) {
  while (!system_text.empty()) {
    const char last = system_text.back();
    if (last != ' ' && last != '\t' && last != '\r' && last != '\n') break;
    system_text.remove_suffix(1);
  }
  if (system_text.empty()) return hex_code(hresult);
  std::string text(system_text);
  text += " (";
  text += hex_code(hresult);
  text += ')';
  return text;
}

Error system_error(std::string_view system_text, std::uint32_t hresult) {
  return Error(system_error_text(system_text, hresult));
}

}  // namespace vessa
