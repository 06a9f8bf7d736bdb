#include "base/real_text.hpp"

#include <charconv>
#include <cmath>

namespace vessa {
namespace {

template <typename Real>
std::string shortest_text(Real value, std::chars_format format) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value, format);
  return std::string(buffer, result.ptr);
}

// Very large and very small values are not spelled out in full: the configuration parser
// limits a number to 128 characters.
template <typename Real>
std::string shortest_real_text(Real value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  const Real magnitude = std::fabs(value);
  if (magnitude == 0 || (magnitude >= Real(1e-5) && magnitude < Real(1e17))) {
    std::string text = shortest_text(value, std::chars_format::fixed);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
  }
  std::string text = shortest_text(value, std::chars_format::scientific);
  const std::size_t exponent = text.find('e');
  if (text.find('.') == std::string::npos && exponent != std::string::npos) text.insert(exponent, ".0");
  return text;
}

}  // namespace

std::string real_text(double value) { return shortest_real_text(value); }
std::string real_text(float value) { return shortest_real_text(value); }

}  // namespace vessa
