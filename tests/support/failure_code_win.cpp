#include "failure_code_win.hpp"

#include <algorithm>

namespace vessa::test {

bool ends_with_failure_code(std::string_view text) {
  if (text.ends_with(')')) text.remove_suffix(1);
  if (text.size() < 10) return false;
  const std::string_view code = text.substr(text.size() - 10);
  const auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
  return code.starts_with("0x") && code[2] >= '8' && std::all_of(code.begin() + 2, code.end(), hex);
}

}  // namespace vessa::test
