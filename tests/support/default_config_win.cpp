#include "default_config_win.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "harness_win.hpp"

namespace vessa::test {

const std::string& default_config_text() {
  static const std::string text = [] {
    const std::filesystem::path folder = windows_path_from_env("VESSA_TEST_DATA");
    EXPECT_FALSE(folder.empty()) << "VESSA_TEST_DATA is not set (ctest sets it to tests/data)";
    std::ifstream file(folder / L"default_config.toml", std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    EXPECT_FALSE(bytes.str().empty()) << "no default_config.toml in " << folder.string();
    return bytes.str();
  }();
  return text;
}

std::string with_lines(std::string text, const std::vector<std::pair<std::string_view, std::string_view>>& changes) {
  for (const auto& [from, to] : changes) {
    const std::string line = "\n" + std::string(from) + "\n";
    const std::size_t at = text.find(line);
    EXPECT_NE(at, std::string::npos) << "no line \"" << from << "\"";
    if (at != std::string::npos) text.replace(at + 1, from.size(), to);
  }
  return text;
}

}  // namespace vessa::test
