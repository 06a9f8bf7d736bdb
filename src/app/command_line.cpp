#include "app/command_line.hpp"

#include <algorithm>

namespace vessa {
namespace {

bool is_blank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<std::u16string> split_command_line(std::u16string_view line) {
  std::vector<std::u16string> arguments;
  std::size_t pos = 0;

  // The program name: quotes group, backslashes are literal.
  {
    std::u16string program;
    bool quoted = false;
    while (pos < line.size()) {
      const char16_t c = line[pos];
      if (c == u'"') {
        quoted = !quoted;
      } else if (!quoted && is_blank(c)) {
        break;
      } else {
        program += c;
      }
      ++pos;
    }
    arguments.push_back(std::move(program));
  }

  while (true) {
    while (pos < line.size() && is_blank(line[pos])) ++pos;
    if (pos >= line.size()) break;

    std::u16string argument;
    bool quoted = false;
    while (pos < line.size()) {
      const char16_t c = line[pos];
      if (c == u'\\') {
        std::size_t backslashes = 0;
        while (pos < line.size() && line[pos] == u'\\') {
          ++backslashes;
          ++pos;
        }
        if (pos < line.size() && line[pos] == u'"') {
          argument.append(backslashes / 2, u'\\');
          if (backslashes % 2 == 1) {
            argument += u'"';
            ++pos;
          }
        } else {
          argument.append(backslashes, u'\\');
        }
        continue;
      }
      if (c == u'"') {
        if (quoted && pos + 1 < line.size() && line[pos + 1] == u'"') {
          argument += u'"';
          pos += 2;
          continue;
        }
        quoted = !quoted;
        ++pos;
        continue;
      }
      if (!quoted && is_blank(c)) break;
      argument += c;
      ++pos;
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

bool has_debug_switch(const std::vector<std::u16string>& arguments) {
  return std::any_of(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end(),
                     [](const std::u16string& argument) { return argument == u"--debug"; });
}

}  // namespace vessa
